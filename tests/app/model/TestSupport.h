// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fakes and a harness shared by the model tests: a progress store the test answers by hand, a
// speech output that records what it was asked, a clock the test sets, and the fixture lexicon.

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppModel.h"
#include "FixtureLexicon.h"
#include "LexiconStore.h"
#include "ProgressStoring.h"
#include "SpeechOutput.h"

namespace tessel::test {

// Answers loads and saves on the next turn of the event loop, or holds them until the test
// releases them. What a save "writes" is kept in `written`, in the order the writes happened.
class FakeProgressStore : public ProgressStoring,
                          public std::enable_shared_from_this<FakeProgressStore> {
  public:
    bool holdLoads = false;
    bool holdSaves = false;
    Result<LearnerProgress> loadResult = LearnerProgress{};
    // When set, every save fails with this description.
    std::optional<std::string> saveError;

    std::vector<LearnerProgress> written;
    int loadCalls = 0;
    int saveCalls = 0;

    void load(LoadCompletion completion) override {
        ++loadCalls;
        if (holdLoads) {
            m_heldLoads.push_back(std::move(completion));
            return;
        }
        later([completion = std::move(completion)](FakeProgressStore& store) {
            completion(store.loadResult);
        });
    }

    // Called from the saver's thread: everything the test looks at is handled on the main
    // thread. The progress lent is read there before the save answers, as the contract allows.
    void save(std::shared_ptr<const LearnerProgress> progress, SaveCompletion completion) override {
        later([progress = std::move(progress),
               completion = std::move(completion)](FakeProgressStore& store) mutable {
            ++store.saveCalls;
            if (store.holdSaves) {
                store.m_heldSaves.push_back({std::move(progress), std::move(completion)});
            } else {
                store.finishSave(*progress, completion);
            }
        });
    }

    int heldLoads() const { return static_cast<int>(m_heldLoads.size()); }
    int heldSaves() const { return static_cast<int>(m_heldSaves.size()); }

    // Answers the oldest held load with `result`.
    void releaseLoad(Result<LearnerProgress> result) {
        auto completion = std::move(m_heldLoads.front());
        m_heldLoads.pop_front();
        completion(std::move(result));
    }

    // Performs the oldest held save.
    void releaseSave() {
        auto held = std::move(m_heldSaves.front());
        m_heldSaves.pop_front();
        finishSave(*held.progress, held.completion);
    }

  private:
    struct HeldSave {
        std::shared_ptr<const LearnerProgress> progress;
        SaveCompletion completion;
    };

    // Runs `work` on the main thread on a later turn of its event loop, unless the store is gone
    // by then.
    template <class F>
    void later(F&& work) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [weak = weak_from_this(), work = std::forward<F>(work)]() mutable {
                if (auto self = weak.lock()) work(*self);
            },
            Qt::QueuedConnection);
    }

    void finishSave(const LearnerProgress& progress, const SaveCompletion& completion) {
        if (saveError) {
            if (completion) completion(fail(*saveError));
            return;
        }
        written.push_back(progress);
        if (completion) completion({});
    }

    std::deque<LoadCompletion> m_heldLoads;
    std::deque<HeldSave> m_heldSaves;
};

class FakeSpeech : public SpeechOutput {
  public:
    struct Utterance {
        QString text;
        LearningLanguage language;
        float rate;
    };
    std::vector<Utterance> spoken;
    int stops = 0;
    std::vector<LearningLanguage> prepared;

    void speak(const QString& text, LearningLanguage language, float rate) override {
        spoken.push_back({text, language, rate});
    }
    void stop() override { ++stops; }
    void prepare(LearningLanguage language) override { prepared.push_back(language); }
};

// 2024-05-01T08:30:00Z.
inline Instant fixedStart() {
    return instantFromSeconds(1714552200);
}

// Everything a model needs, built in a temporary folder.
struct Harness {
    QTemporaryDir folder;
    std::unique_ptr<QSettings> settings;
    std::shared_ptr<LexiconStore> lexicon;
    std::shared_ptr<FakeProgressStore> store = std::make_shared<FakeProgressStore>();
    std::shared_ptr<FakeSpeech> speech = std::make_shared<FakeSpeech>();
    std::shared_ptr<Instant> clock = std::make_shared<Instant>(fixedStart());
    std::unique_ptr<AppModel> model;

    Harness() {
        settings = std::make_unique<QSettings>(folder.filePath("prefs.ini"), QSettings::IniFormat);
    }

    QString settingsPath() const { return folder.filePath("prefs.ini"); }

    // Opens the fixture lexicon (built once per test program).
    void openLexicon() {
        static const std::string path = [] {
            static QTemporaryDir lexiconFolder;
            return buildFixtureLexicon(lexiconFolder.path().toStdString());
        }();
        auto opened = LexiconStore::open(path);
        if (opened) lexicon = std::move(*opened);
    }

    AppModel::Dependencies dependencies(std::shared_ptr<ProgressStoring> progressStore = nullptr) {
        AppModel::Dependencies deps;
        deps.settings = settings.get();
        deps.lexicon = lexicon;
        deps.progressStore = progressStore ? std::move(progressStore) : store;
        deps.speech = speech;
        deps.now = [clock = clock] { return *clock; };
        deps.calendar = [] { return Calendar::withTimeZone("America/New_York"); };
        return deps;
    }

    // The model on the fixture lexicon with the fake store.
    AppModel& build() {
        if (!lexicon) openLexicon();
        model = std::make_unique<AppModel>(dependencies());
        return *model;
    }

    void advance(double seconds) {
        *clock +=
            std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(seconds));
    }
};

// A card reviewed once, due at `due`, with the given figures.
inline CardProgress reviewedCard(const std::string& id, Instant due, std::int64_t total = 1,
                                 std::int64_t correct = 1, double stability = 2.0) {
    CardProgress card;
    card.itemID = id;
    card.stabilityDays = stability;
    card.difficulty = 5;
    card.intervalDays = 2;
    card.dueDate = due;
    card.lastReviewedAt = due - std::chrono::hours(48);
    card.lastRating = ReviewRating::good;
    card.totalReviews = total;
    card.correctReviews = correct;
    card.consecutiveCorrect = correct;
    return card;
}

}  // namespace tessel::test
