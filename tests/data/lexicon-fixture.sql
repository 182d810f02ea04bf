-- SPDX-License-Identifier: GPL-3.0-or-later
-- A small lexicon for tests: the three tables the application reads, with rows chosen for the
-- cases the store and the screens must handle (ranking groups, literal %, _ and \, empty
-- romanization, missing or malformed JSON, entries with several exercises, both languages).
-- Frequency ranks are distinct within each language, so every ordering is total.

CREATE TABLE vocabulary (
    id TEXT PRIMARY KEY,
    language TEXT NOT NULL,
    term TEXT NOT NULL,
    alternate TEXT,
    reading TEXT,
    romanization TEXT,
    meanings_json TEXT,
    frequency_rank INTEGER,
    level INTEGER,
    learnable INTEGER,
    source TEXT,
    part_of_speech_json TEXT
);

CREATE TABLE exercises (
    id TEXT PRIMARY KEY,
    vocabulary_id TEXT NOT NULL,
    prompt TEXT,
    translation TEXT,
    note TEXT,
    accepted_answers_json TEXT,
    attribution TEXT
);

CREATE TABLE exercise_readings (
    exercise_id TEXT NOT NULL PRIMARY KEY,
    prompt_reading TEXT NOT NULL
);
CREATE TABLE sources (
    id TEXT PRIMARY KEY,
    display_name TEXT,
    url TEXT,
    license TEXT,
    license_url TEXT,
    attribution TEXT,
    source_sha256 TEXT
);

CREATE TABLE characters (
    language TEXT NOT NULL,
    character TEXT NOT NULL,
    stroke_count INTEGER NOT NULL,
    readings_json TEXT NOT NULL,
    kun_readings_json TEXT NOT NULL,
    meanings_json TEXT NOT NULL,
    grade INTEGER NOT NULL,
    jlpt INTEGER NOT NULL,
    frequency INTEGER NOT NULL,
    strokes BLOB,
    PRIMARY KEY (language, character)
);

-- Chinese course entries (bands 1 to 3).
INSERT INTO vocabulary VALUES
 ('zh-nihao', 'zh', '你好', '', 'nǐ hǎo', 'nihao', '["hello","hi"]', 1, 1, 1, 'CC-CEDICT', '[]'),
 ('zh-xiexie', 'zh', '谢谢', '謝謝', 'xièxie', 'xiexie', '["thank you","thanks"]', 2, 1, 1, 'CC-CEDICT', '["verb"]'),
 ('zh-hao', 'zh', '好', '', 'hǎo', 'hao', '["good","well","okay"]', 3, 1, 1, 'CC-CEDICT', '["adjective"]'),
 ('zh-da', 'zh', '大', '', 'dà', 'da', '["big","large","great"]', 4, 1, 1, 'CC-CEDICT', '[]'),
 ('zh-zhongguo', 'zh', '中国', '中國', 'Zhōngguó', 'zhongguo', '["China"]', 5, 1, 1, 'CC-CEDICT', '[]'),
 ('zh-le', 'zh', '了', '', 'le', '', '["(completed action marker)"]', 6, 1, 1, 'CC-CEDICT', '[]'),
 ('zh-shu', 'zh', '书', '書', 'shū', 'shu', '["book","letter"]', 7, 1, 1, 'CC-CEDICT', '["noun"]'),
 ('zh-xuesheng', 'zh', '学生', '學生', 'xuésheng', 'xuesheng', '["student","schoolchild"]', 8, 1, 1, 'CC-CEDICT', '["noun"]'),
 ('zh-nv', 'zh', '女', '', 'nǚ', 'nv', '["female","woman"]', 12, 1, 1, 'CC-CEDICT', '[]'),
 ('zh-ne', 'zh', '呢', '', 'ne', 'ne', '[]', 15, 2, 1, 'CC-CEDICT', '[]'),
 ('zh-haochi', 'zh', '好吃', '', 'hǎochī', 'haochi', '["tasty","delicious"]', 20, 2, 1, 'CC-CEDICT', '[]'),
 ('zh-baifenzhi', 'zh', '百分之', '', 'bǎi fēn zhī', 'baifenzhi', '["percent","% (percentage)"]', 30, 2, 1, 'CC-CEDICT', '[]'),
 ('zh-lv', 'zh', '绿', '綠', 'lǜ', 'lv', '["green"]', 60, 2, 1, 'CC-CEDICT', '[]'),
 ('zh-diannao', 'zh', '电脑', '電腦', 'diànnǎo', 'diannao', '["computer"]', 90, 3, 1, 'CC-CEDICT', '["noun"]'),
 ('zh-xiahuaxian', 'zh', '下划线', '下劃線', 'xiàhuáxiàn', 'xiahuaxian', '["underscore (_)","underline"]', 150, 3, 1, 'CC-CEDICT', '[]'),
 ('zh-fanxiegang', 'zh', '反斜杠', '', 'fǎnxiégàng', 'fanxiegang', '["backslash (\\)"]', 400, 3, 1, 'CC-CEDICT', '[]'),
 ('zh-xiongmao', 'zh', '熊猫', '熊貓', 'xióngmāo', 'xiongmao', '["panda"]', 40000, 3, 1, 'CC-CEDICT', '["noun"]'),
 ('zh-qie', 'zh', '企鹅', '企鵝', 'qǐ''é', 'qie', '["penguin"]', 40001, 3, 1, 'CC-CEDICT', '["noun"]');

-- Chinese reference-only entries.
INSERT INTO vocabulary VALUES
 ('zh-ok', 'zh', 'OK', '', 'ōukèi', 'ouke', '["OK","okay"]', 50000, 6, 0, 'CC-CEDICT', '[]'),
 ('zh-okbeng', 'zh', 'OK绷', 'OK繃', 'ōukèibēng', 'oukeibeng', '["band-aid"]', 49999, 6, 0, 'CC-CEDICT', '[]'),
 ('zh-txu', 'zh', 'T恤', '', 'tīxù', 'tixu', '["T-shirt"]', 50002, 6, 0, 'CC-CEDICT', '[]'),
 ('zh-haoren', 'zh', '好人', '', 'hǎorén', 'haoren', '["good person"]', 50003, 6, 0, 'CC-CEDICT', '[]'),
 ('zh-percent-sign', 'zh', '百分号', '百分號', 'bǎifēnhào', 'baifenhao', '["percent sign %"]', 50004, 6, 0, 'CC-CEDICT', '[]'),
 ('zh-variant', 'zh', '攷', NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL, NULL);

-- Japanese course entries (bands 1 to 3).
INSERT INTO vocabulary VALUES
 ('ja-kore', 'ja', 'これ', '', 'これ', 'kore', '["this","this one"]', 1, 1, 1, 'EDICT', '["pronoun"]'),
 ('ja-mizu', 'ja', '水', '', 'みず', 'mizu', '["water"]', 2, 1, 1, 'EDICT', '["noun"]'),
 ('ja-taberu', 'ja', '食べる', '', 'たべる', 'taberu', '["to eat"]', 3, 1, 1, 'EDICT', '["Ichidan verb","transitive verb"]'),
 ('ja-nihon', 'ja', '日本', '', 'にほん', 'nihon', '["Japan"]', 4, 1, 1, 'EDICT', '["noun"]'),
 ('ja-ichi', 'ja', '一', '', 'いち', 'ichi', '["one","best","first"]', 5, 1, 1, 'EDICT', '["numeric","noun","prefix","suffix","adverb","no-adjective"]'),
 ('ja-hon', 'ja', '本', '', 'ほん', 'hon', '["book","main"]', 6, 1, 1, 'EDICT', '["noun","prefix"]'),
 ('ja-arigatou', 'ja', 'ありがとう', '', 'ありがとう', 'arigatou', '["thank you"]', 7, 1, 1, 'EDICT', '["expression"]'),
 ('ja-gakusei', 'ja', '学生', '', 'がくせい', 'gakusei', '["student"]', 9, 1, 1, 'EDICT', '["noun"]'),
 ('ja-nomu', 'ja', '飲む', '', 'のむ', 'nomu', '["to drink"]', 10, 1, 1, 'EDICT', '["Godan verb","transitive verb"]'),
 ('ja-toukyou', 'ja', '東京', '', 'とうきょう', 'toukyou', '["Tokyo"]', 11, 1, 1, 'EDICT', '["noun"]'),
 ('ja-neko', 'ja', '猫', 'ネコ', 'ねこ', 'neko', '["cat"]', 25, 2, 1, 'EDICT', '["noun"]'),
 ('ja-tabemono', 'ja', '食べ物', '', 'たべもの', 'tabemono', '["food"]', 30, 2, 1, 'EDICT', '["noun"]'),
 ('ja-ookii', 'ja', '大きい', '', 'おおきい', 'ookii', '["big","large"]', 40, 2, 1, 'EDICT', '["i-adjective"]'),
 ('ja-kafe', 'ja', 'カフェ', '', 'かふぇ', 'kafe', '["café","coffee shop"]', 55, 2, 1, 'EDICT', '["noun"]'),
 ('ja-benkyou', 'ja', '勉強', '', 'べんきょう', 'benkyou', '["study"]', 80, 3, 1, 'EDICT', '["noun","suru verb"]'),
 ('ja-paasento', 'ja', 'パーセント', '', 'ぱーせんと', 'paasento', '["percent (%)"]', 200, 3, 1, 'EDICT', '["noun"]'),
 ('ja-ame', 'ja', '雨', '', 'あめ', '', '["rain"]', 300, 3, 1, 'EDICT', '["noun"]');

-- Japanese reference-only entries.
INSERT INTO vocabulary VALUES
 ('ja-kuu', 'ja', '食う', '', 'くう', 'kuu', '["to eat (rough)"]', 5000, 6, 0, 'EDICT', '["Godan verb"]'),
 ('ja-kujira', 'ja', '鯨', '', 'くじら', 'kujira', 'not json', 5001, 6, 0, 'EDICT', NULL),
 ('ja-andaabaa', 'ja', 'アンダーバー', '', 'あんだーばー', 'andaabaa', '["underscore _",3]', 5002, 6, 0, 'EDICT', '{"pos":"noun"}'),
 ('ja-en', 'ja', '円', '', 'えん', 'en', '["yen (\u00a5)","circle"]', 5003, 6, 0, 'EDICT', '["noun"]');

-- Exercises: 食べる has two (the smaller id wins), inserted out of order on purpose.
INSERT INTO exercises VALUES
 ('ex-ja-002', 'ja-taberu', '昼ごはんにおにぎりを___。', 'I eat rice balls for lunch.', 'Polite form in a sentence.', '["食べます"]', 'Brindle original sentence'),
 ('ex-ja-001', 'ja-taberu', '毎朝パンを___。', 'I eat bread every morning.', 'Dictionary form of the verb.', '["食べる","たべる"]', 'Brindle original sentence'),
 ('ex-zh-001', 'zh-nihao', '___，我叫小明。', 'Hello, my name is Xiaoming.', 'A greeting.', '["你好"]', 'Brindle original sentence'),
 ('ex-zh-002', 'zh-xiexie', '___你的帮助。', 'Thank you for your help.', 'Thanks for something.', '["多谢"]', 'Brindle original sentence');

-- Kana readings of the Japanese sentences, for speech.
INSERT INTO exercise_readings VALUES
 ('ex-ja-001', 'まいあさぱんを___。'),
 ('ex-ja-002', 'ひるごはんにおにぎりを___。');

INSERT INTO sources VALUES
 ('cc-cedict', 'CC-CEDICT', 'https://www.mdbg.net/chinese/dictionary?page=cedict', 'CC BY-SA 4.0', 'https://creativecommons.org/licenses/by-sa/4.0/', 'MDBG', '1f3a0e7c5b9d2a4e6c8b0d2f4a6c8e0b2d4f6a8c0e2b4d6f8a0c2e4b6d8f0a2c'),
 ('edict', 'EDICT', 'https://www.edrdg.org/jmdict/edict.html', 'CC BY-SA 3.0', 'https://creativecommons.org/licenses/by-sa/3.0/', 'Electronic Dictionary Research and Development Group', '2b4d6f8a0c2e4b6d8f0a2c4e6b8d0f2a4c6e8b0d2f4a6c8e0b2d4f6a8c0e2b4d'),
 ('jieba-frequency', 'Jieba word frequencies', 'https://github.com/fxsjy/jieba', 'MIT', '', 'Jieba contributors', '3c5e7a9b1d3f5a7c9e1b3d5f7a9c1e3b5d7f9a1c3e5b7d9f1a3c5e7b9d1f3a5c'),
 ('jmdict-frequency', 'JMdict priority tags', 'https://www.edrdg.org/jmdict/j_jmdict.html', 'CC BY-SA 3.0', 'https://creativecommons.org/licenses/by-sa/3.0/', 'Electronic Dictionary Research and Development Group', '4d6f8a0c2e4b6d8f0a2c4e6b8d0f2a4c6e8b0d2f4a6c8e0b2d4f6a8c0e2b4d6f'),
 ('brindle-exercises', 'Brindle starter exercises', 'https://brindle.invalid/exercises', 'CC BY 4.0', 'https://creativecommons.org/licenses/by/4.0/', 'Brindle original sentences', '5e7a9b1d3f5a7c9e1b3d5f7a9c1e3b5d7f9a1c3e5b7d9f1a3c5e7b9d1f3a5c7e');

-- The character panel: 好 drawn in three strokes (plain bars, with their middle lines), 学 as a
-- numbered diagram (a box and a curve), 生 with facts but no drawing; 你 and 大 have no row.
INSERT INTO characters VALUES
 ('zh', '好', 3, '["hǎo","hào"]', '[]', '["good","to be fond of"]', 0, 0, 0,
  X'010100000305009003900301B009000100A00101AF09000402284FE0080005009807900301A001000100A80A019F0100040250FF0900D80905009003B00901B009000100A00101AF09000402284FE00800'),
 ('ja', '学', 8, '["ガク"]', '["まな.ぶ"]', '["study","learning","science"]', 1, 4, 63,
  X'01020000010800AC02AC0201A00B000100A00B019F0B000400AC02D3020290039F069003A0060400'),
 ('ja', '生', 5, '["セイ","ショウ"]', '["い.きる","う.まれる"]', '["life","genuine","birth"]', 1, 4, 29, NULL);
