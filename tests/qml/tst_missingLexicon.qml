// SPDX-License-Identifier: GPL-3.0-or-later
// The home screen of a model whose word list could not be opened (the runner builds it so).
import QtQuick
import QtTest
import Brindle
import Brindle.Model

Item {
    id: top
    width: 1214
    height: 882

    Component { id: dashboardComponent; DashboardView {} }

    TestCase {
        name: "MissingLexicon"
        when: windowShown

        function test_missingWordListOffersNoSession() {
            compare(AppModel.isLexiconAvailable, false);
            const view = createTemporaryObject(dashboardComponent, top,
                                               { width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            compare(findChild(view, "heroTitle").text, "The word list is missing");
            verify(findChild(view, "sessionSummary").text.indexOf("could not be opened") >= 0);
            verify(!findChild(view, "heroButton").visible);
        }
    }
}
