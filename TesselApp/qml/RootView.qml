// SPDX-License-Identifier: GPL-3.0-or-later
// The window's content: onboarding until it is completed, then the sidebar beside the screen of
// the model's destination.
import QtQuick
import QtQuick.Controls.Basic
import Brindle.Model
import "Destinations.js" as Destinations

Rectangle {
    id: root

    // The screen now shown on the right (null during onboarding).
    readonly property Item currentScreen: screenLoader.item

    color: TesselTheme.canvas

    Loader {
        id: onboardingLoader
        objectName: "onboarding"
        anchors.fill: parent
        active: !AppModel.hasCompletedOnboarding
        source: "screens/OnboardingView.qml"
    }

    Item {
        id: mainLayout
        objectName: "mainLayout"
        anchors.fill: parent
        visible: AppModel.hasCompletedOnboarding

        SidebarView {
            id: sidebar
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: TesselTheme.sidebarWidth
        }

        Loader {
            id: screenLoader
            objectName: "screen"
            anchors.left: sidebar.right
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.topMargin: 18
            active: AppModel.hasCompletedOnboarding
            source: Destinations.find(AppModel.destination).screen
        }
    }

    // Return continues after a wrong or revealed answer, as the study page's "Continue" does. The
    // shortcut lives here, for the window's lifetime, rather than on the verdict: a page being
    // taken down keeps its last state until it is deleted, and two live Return shortcuts would
    // cancel each other out.
    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: AppModel.hasCompletedOnboarding && AppModel.destination === "learn"
                 && AppModel.sessionPhase === "feedback" && AppModel.answerEvaluation !== undefined
                 && !AppModel.answerEvaluation.isCorrect
        onActivated: AppModel.rateAndAdvance("again")
    }
}
