// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QByteArray>
#include <QColor>
#include <QElapsedTimer>
#include <QPainterPath>
#include <QPolygonF>
#include <QQuickPaintedItem>
#include <QTimer>

#include <vector>

// Draws a character from the lexicon's stroke data in the theme's colours. Strokes in writing
// order are animated one after another the way a brush would write them, over a pale copy of the
// whole character, and can be stepped through; a numbered diagram is drawn at once. The animation
// timer runs only while a stroke is being drawn, so a finished drawing costs nothing.
//
// QML: strokeData (the lexiconCharacter's strokes), inkColor, ghostColor, highlightColor,
// gridColor; read-only hasDrawing, isDiagram, strokeCount, shownStrokes (strokes drawn in full),
// isAnimating; replay(), stepForward(), stepBack(), showAll().
class StrokeOrderView : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QByteArray strokeData READ strokeData WRITE setStrokeData NOTIFY drawingChanged)
    Q_PROPERTY(QColor inkColor MEMBER m_ink WRITE setInkColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor ghostColor MEMBER m_ghost WRITE setGhostColor NOTIFY colorsChanged)
    Q_PROPERTY(
        QColor highlightColor MEMBER m_highlight WRITE setHighlightColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor gridColor MEMBER m_grid WRITE setGridColor NOTIFY colorsChanged)
    Q_PROPERTY(bool hasDrawing READ hasDrawing NOTIFY drawingChanged)
    Q_PROPERTY(bool isDiagram READ isDiagram NOTIFY drawingChanged)
    Q_PROPERTY(int strokeCount READ strokeCount NOTIFY drawingChanged)
    Q_PROPERTY(int shownStrokes READ shownStrokes NOTIFY progressChanged)
    Q_PROPERTY(bool isAnimating READ isAnimating NOTIFY progressChanged)

  public:
    explicit StrokeOrderView(QQuickItem* parent = nullptr);

    QByteArray strokeData() const { return m_data; }
    // Decodes the bytes and starts animating the strokes from the first; bytes that are not stroke
    // data leave the view empty (hasDrawing false).
    void setStrokeData(const QByteArray& data);
    void setInkColor(const QColor& color);
    void setGhostColor(const QColor& color);
    void setHighlightColor(const QColor& color);
    void setGridColor(const QColor& color);

    bool hasDrawing() const { return !m_outlines.empty(); }
    bool isDiagram() const { return m_isDiagram; }
    // Strokes in writing order; 0 for a diagram and without data.
    int strokeCount() const { return m_isDiagram ? 0 : static_cast<int>(m_outlines.size()); }
    int shownStrokes() const { return m_shown; }
    bool isAnimating() const { return m_timer.isActive(); }

    // Animates every stroke again from the first.
    Q_INVOKABLE void replay();
    // Stops any animation and shows one stroke more (fewer), highlighting the newest one.
    Q_INVOKABLE void stepForward();
    Q_INVOKABLE void stepBack();
    // Stops any animation and shows the whole character.
    Q_INVOKABLE void showAll();

    void paint(QPainter* painter) override;

  signals:
    void drawingChanged();
    void colorsChanged();
    void progressChanged();

  private:
    void advance();
    void stopAt(int shown);
    // Draws the stroke's part along its median up to `fraction` (0..1), clipped to its outline.
    void paintPartialStroke(QPainter* painter, std::size_t stroke, double fraction) const;

    QByteArray m_data;
    bool m_isDiagram = false;
    std::vector<QPainterPath> m_outlines;
    std::vector<QPolygonF> m_medians;
    std::vector<double> m_medianLengths;
    int m_shown = 0;
    bool m_highlightNewest = false;
    double m_fraction = 0;  // of stroke m_shown while animating
    QTimer m_timer;
    QElapsedTimer m_strokeClock;
    QColor m_ink{Qt::black};
    QColor m_ghost{Qt::lightGray};
    QColor m_highlight{Qt::darkGreen};
    QColor m_grid{Qt::lightGray};
};
