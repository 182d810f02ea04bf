// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>

class QQuickWindow;
class QQuickItem;

namespace tessel {

class AppModel;

// Drives the running application through a plain-text script, one command per line, so that
// screenshots and timings come from the real window on the real model. Lines starting with '#'
// and blank lines are skipped. Commands:
//
//   set NAME VALUE      change one of the settings a screen state needs: destination,
//                       searchQuery, dailyGoal, newWordsPerSession or playAudioAutomatically
//   call NAME [ARG]     call a model action (Q_INVOKABLE) with no argument or one
//                       (true/false/number/text)
//   until NAME VALUE    wait, at most 10 s, until the model property NAME reads VALUE
//   click OBJECTNAME    click the visible button with that objectName
//   reveal OBJECTNAME   scroll the page holding the visible item with that objectName until the
//                       item is in view
//   expect-visible NAME fail unless an item with that objectName is visible
//   type TEXT           type TEXT (the rest of the line) into the focused item
//   key NAME            press and release Return, Enter, Tab, Space, Escape or Backspace
//   wait MS             let the application run for MS milliseconds
//   shot NAME           write OUTDIR/NAME-WxH.png of the window's content (W × H its size)
//   measure-key NAME    press a key and print the main thread's work until the next frame
//   report-usage NAME   print "usage NAME rss-kb R peak-kb P cpu-ms C frames F": the process's
//                       resident and peak resident memory (VmRSS, VmHWM), its processor time
//                       so far (to the microsecond) and the frames the window has shown
//   report-first-frame  print the wall-clock time of the window's first frame, the main
//                       thread's processor time spent before it (start-up up to the window
//                       loaded) and how much of that came before main() (the system loading and
//                       binding the libraries)
//   quit                leave the application (also done after the last line)
//
// "{path}" anywhere in a line stands for the model's value at that dotted path, read into records
// too: "type {currentItem.romanization}".
//
// A failing command prints "screenshot-script: line N: reason" to stderr and quits with exit
// code 1; figures go to stdout as "name value" lines.
class ScreenshotDriver : public QObject {
    Q_OBJECT
  public:
    // REQUIRES: `model` is the window's model; `outDir` exists.
    ScreenshotDriver(AppModel* model, QString scriptPath, QString outDir,
                     QObject* parent = nullptr);

    // Starts when `window` has shown its first frame. `cpuMsAtMain` is threadCpuMs() as main()
    // began. Returns false (after printing why) when the script cannot be read.
    bool start(QQuickWindow* window, qint64 cpuMsAtMain);

    // The calling thread's processor time so far, in milliseconds.
    static qint64 threadCpuMs();

  private:
    void runNext();
    bool runLine(const QString& rawLine, bool* keepWaiting);
    bool setSetting(const QString& name, const QString& value);
    bool callMethod(const QString& name, const QString& argument);
    bool click(const QString& objectName);
    bool reveal(const QString& objectName);
    void typeText(const QString& text);
    bool pressKey(const QString& name);
    bool shoot(const QString& name);
    void measureKey(const QString& name);
    void reportUsage(const QString& name);
    QQuickItem* findVisible(QQuickItem* root, const QString& objectName) const;
    void fail(const QString& reason);
    void scheduleNext(int delayMs);

    AppModel* m_model;
    QString m_scriptPath;
    QString m_outDir;
    QQuickWindow* m_window = nullptr;
    QStringList m_lines;
    int m_lineIndex = 0;
    qint64 m_firstFrameEpochMs = 0;
    qint64 m_openedMainCpuMs = 0;
    qint64 m_cpuMsAtMain = 0;
    QElapsedTimer m_untilTimer;
    // Frames the window has shown, counted on the render thread as they are swapped.
    std::atomic<long long> m_framesSwapped = 0;
};

}  // namespace tessel
