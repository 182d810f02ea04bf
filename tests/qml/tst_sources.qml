// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import "qrc:/Brindle/components/Format.js" as Format

Item {
    id: top
    width: 1214
    height: 882

    Component { id: sourcesComponent; SourcesView {} }

    TestCase {
        name: "Sources"
        when: windowShown

        function open(opened) {
            const view = createTemporaryObject(sourcesComponent, top, {
                width: top.width, height: top.height,
                openExternally: url => opened.push(url)
            });
            verify(view);
            waitForRendering(view);
            return view;
        }
        // The source cards in the order shown.
        function cards(view) {
            const column = findChild(view, "bundledHeading").parent;
            const found = [];
            for (let i = 0; i < column.children.length; ++i) {
                if (column.children[i].source !== undefined)
                    found.push(column.children[i]);
            }
            return found;
        }
        function cardFor(view, id) {
            return cards(view).find(card => card.source.id === id);
        }
        function links(card) {
            const titles = [];
            for (const title of ["Project", "License"]) {
                if (findChild(card, "link-" + title))
                    titles.push(title);
            }
            return titles;
        }

        // The fixture lexicon's five sources through the real model.
        function test_oneCardPerSourceInTheModelsOrder() {
            const view = open([]);
            compare(cards(view).map(card => card.source.name),
                    AppModel.sources.map(source => source.name));
            compare(cards(view).length, 5);
        }

        function test_symbolAndLinksPerSource_data() {
            return [
                { tag: "dictionary", id: "cc-cedict", symbol: "books.vertical.fill",
                  links: ["Project", "License"] },
                { tag: "frequency list without licence address", id: "jieba-frequency",
                  symbol: "chart.bar.doc.horizontal.fill", links: ["Project"] },
                { tag: "frequency tags", id: "jmdict-frequency",
                  symbol: "chart.bar.doc.horizontal.fill", links: ["Project", "License"] }
            ];
        }
        function test_symbolAndLinksPerSource(data) {
            const view = open([]);
            const card = cardFor(view, data.id);
            verify(card, data.id);
            compare(findChild(card, "sourceSymbol").name, data.symbol);
            compare(links(card), data.links);
            compare(findChild(card, "sourceLicense").text, card.source.license);
            compare(findChild(card, "sourceAttribution").text, card.source.attribution);
        }

        function test_checksumIsSelectableText() {
            const view = open([]);
            const card = cardFor(view, "cc-cedict");
            const checksum = findChild(card, "sourceChecksum");
            compare(checksum.text, "SHA-256 " + card.source.checksum);
            verify(checksum.readOnly);
            verify(checksum.selectByMouse);
            checksum.selectAll();
            compare(checksum.selectedText, checksum.text);
        }

        function test_linksOpenTheirAddress() {
            const opened = [];
            const view = open(opened);
            const card = cardFor(view, "cc-cedict");
            view.contentY = Math.min(view.contentHeight - view.height,
                                     card.mapToItem(view.contentItem, 0, 0).y);
            waitForRendering(view);
            mouseClick(findChild(card, "link-License"));
            mouseClick(findChild(card, "link-Project"));
            compare(opened, [card.source.licenseURL, card.source.url]);
        }

        function test_linkThatCannotOpenShowsItsAddress() {
            const view = createTemporaryObject(sourcesComponent, top, {
                width: top.width, height: top.height, openExternally: url => false
            });
            const card = cardFor(view, "cc-cedict");
            view.openLink(card.source.url);
            const dialog = findChild(view, "linkFallbackDialog");
            tryVerify(() => dialog.opened);
            compare(findChild(dialog.contentItem, "linkAddress").text, card.source.url);
            mouseClick(findChild(dialog.contentItem, "linkCopy"));
            compare(findChild(dialog.contentItem, "linkCopy").text, "Copied");
            keyClick(Qt.Key_Escape);
            tryVerify(() => !dialog.visible);
        }

        function test_linkOnlyForAddressesWithSchemeAndHost_data() {
            return [
                { tag: "https", text: "https://www.mdbg.net/chinese/dictionary?page=cedict", ok: true },
                { tag: "http", text: "http://example.org", ok: true },
                { tag: "empty", text: "", ok: false },
                { tag: "words", text: "see the project page", ok: false },
                { tag: "no host", text: "https://", ok: false },
                { tag: "mail", text: "mailto:someone@example.org", ok: false },
                { tag: "local file", text: "file:///etc/passwd", ok: false },
                { tag: "script", text: "javascript:alert(1)", ok: false },
                { tag: "surrounding space", text: " https://example.org", ok: false }
            ];
        }
        function test_linkOnlyForAddressesWithSchemeAndHost(data) {
            compare(Format.isOpenableLink(data.text), data.ok);
        }

        function test_countsAreTheLexicons() {
            const view = open([]);
            const number = label => findChild(findChild(view, "numberCard-" + label), "number").text;
            compare(number("reference entries"), Format.grouped(AppModel.counts.referenceEntries));
            compare(number("frequency-ranked words"), Format.grouped(AppModel.counts.curriculumEntries));
            compare(number("context starter cards"), Format.grouped(AppModel.counts.contextualExercises));
            verify(/^123\D456$/.test(Format.grouped(123456)), Format.grouped(123456));
        }
    }
}
