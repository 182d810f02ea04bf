// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <thread>

class QQmlApplicationEngine;
class QQuickWindow;

namespace tessel {

class AppModel;
class SingleInstance;

// Names the application (the settings and data folders derive from the names) and its version,
// the same for every program that shows the window. The window icon follows the first frame
// (see AppWindow::open).
// REQUIRES: the QApplication exists.
void describeApplication();

// Brindle's main window over its model: one per data folder (a later launch hands over to the
// first), the model built with its real dependencies, the screens loaded from the QML module.
// Destroying it closes the window first, then stops the model (speech, last save), then lets go
// of the data folder.
class AppWindow {
  public:
    enum class Opened {
        shown,       // the window is loaded and visible
        handedOver,  // another process holds the data folder and was asked to come to the front
        failed,      // the screens could not be loaded (the QML engine printed why)
    };

    AppWindow();
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    // Claims the data folder, builds the model (read only, saying why, when the folder is held by
    // a process that does not answer) and loads the window. Call it once.
    // REQUIRES: describeApplication() has run.
    Opened open();

    // REQUIRES: open() returned `shown`.
    QQuickWindow* window() const { return m_window; }
    AppModel* model() const { return m_model.get(); }

  private:
    // Reads the system's font list while the window is being built; joined on destruction.
    std::jthread m_fontList;
    // Declared in set-up order, so destroyed window first and data folder last.
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow* m_window = nullptr;
};

// The process's exit code once the event loop returned `code` and every AppWindow is gone.
// Returns `code`; when a speech daemon stopped answering and holds the speech thread, ends the
// process here with `code` instead of returning (see the .cpp).
int finishApplication(int code);

}  // namespace tessel
