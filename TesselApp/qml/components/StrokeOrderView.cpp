// SPDX-License-Identifier: GPL-3.0-or-later
#include "StrokeOrderView.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "StrokeDrawing.h"

namespace {

// About a brush stroke's pace: short strokes still take a visible moment, long ones do not drag.
constexpr double kBaseStrokeMs = 240;
constexpr double kMsPerBoxLength = 520;  // per kStrokeBoxSize units of median
constexpr double kPauseMs = 110;
constexpr int kFrameMs = 16;
// Wider than any stroke of the data: the outline clip gives the shape, the pen only the reach.
constexpr double kBrushWidth = 180;

QPointF toPoint(tessel::StrokePoint point) {
    return {double(point.x), double(point.y)};
}

QPainterPath toPath(const std::vector<tessel::PathElement>& outline) {
    using Kind = tessel::PathElement::Kind;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const tessel::PathElement& element : outline) {
        const auto& p = element.points;
        switch (element.kind) {
            case Kind::moveTo:
                path.moveTo(toPoint(p[0]));
                break;
            case Kind::lineTo:
                path.lineTo(toPoint(p[0]));
                break;
            case Kind::quadTo:
                path.quadTo(toPoint(p[0]), toPoint(p[1]));
                break;
            case Kind::cubicTo:
                path.cubicTo(toPoint(p[0]), toPoint(p[1]), toPoint(p[2]));
                break;
            case Kind::close:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

double polylineLength(const QPolygonF& line) {
    double length = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF d = line[i] - line[i - 1];
        length += std::hypot(d.x(), d.y());
    }
    return length;
}

}  // namespace

StrokeOrderView::StrokeOrderView(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
    m_timer.setInterval(kFrameMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StrokeOrderView::advance);
}

void StrokeOrderView::setStrokeData(const QByteArray& data) {
    if (data == m_data && !m_outlines.empty()) return;
    m_data = data;
    m_outlines.clear();
    m_medians.clear();
    m_medianLengths.clear();
    m_isDiagram = false;
    const auto drawing =
        tessel::decodeStrokeDrawing(std::string_view(data.constData(), std::size_t(data.size())));
    if (drawing) {
        m_isDiagram = drawing->kind == tessel::StrokeDrawing::Kind::numberedDiagram;
        for (const tessel::Stroke& stroke : drawing->strokes) {
            m_outlines.push_back(toPath(stroke.outline));
            QPolygonF median;
            for (const tessel::StrokePoint& point : stroke.median) median << toPoint(point);
            m_medianLengths.push_back(polylineLength(median));
            m_medians.push_back(std::move(median));
        }
    }
    emit drawingChanged();
    if (m_isDiagram || m_outlines.empty()) {
        stopAt(int(m_outlines.size()));
    } else {
        replay();
    }
}

void StrokeOrderView::setInkColor(const QColor& color) {
    m_ink = color;
    emit colorsChanged();
    update();
}
void StrokeOrderView::setGhostColor(const QColor& color) {
    m_ghost = color;
    emit colorsChanged();
    update();
}
void StrokeOrderView::setHighlightColor(const QColor& color) {
    m_highlight = color;
    emit colorsChanged();
    update();
}
void StrokeOrderView::setGridColor(const QColor& color) {
    m_grid = color;
    emit colorsChanged();
    update();
}

void StrokeOrderView::replay() {
    if (m_isDiagram || m_outlines.empty()) return;
    m_shown = 0;
    m_fraction = 0;
    m_highlightNewest = false;
    m_strokeClock.start();
    m_timer.start();
    emit progressChanged();
    update();
}

void StrokeOrderView::stopAt(int shown) {
    m_timer.stop();
    m_shown = std::clamp(shown, 0, int(m_outlines.size()));
    m_fraction = 0;
    emit progressChanged();
    update();
}

void StrokeOrderView::stepForward() {
    m_highlightNewest = true;
    // Mid-animation, the stroke being drawn counts as the next one.
    stopAt(m_shown + 1);
}

void StrokeOrderView::stepBack() {
    m_highlightNewest = true;
    stopAt(m_timer.isActive() ? m_shown : m_shown - 1);
}

void StrokeOrderView::showAll() {
    m_highlightNewest = false;
    stopAt(int(m_outlines.size()));
}

void StrokeOrderView::advance() {
    if (m_shown >= int(m_outlines.size())) {
        stopAt(m_shown);
        return;
    }
    const double duration = kBaseStrokeMs + kMsPerBoxLength *
                                                m_medianLengths[std::size_t(m_shown)] /
                                                tessel::kStrokeBoxSize;
    const double elapsed = double(m_strokeClock.elapsed());
    m_fraction = std::min(1.0, elapsed / duration);
    if (elapsed >= duration + kPauseMs) {
        ++m_shown;
        m_fraction = 0;
        m_strokeClock.restart();
        if (m_shown >= int(m_outlines.size())) m_timer.stop();
        emit progressChanged();
    }
    update();
}

void StrokeOrderView::paintPartialStroke(QPainter* painter, std::size_t stroke,
                                         double fraction) const {
    const QPolygonF& median = m_medians[stroke];
    if (median.size() < 2) {
        // Without a median the stroke fades in instead of being drawn along its length.
        painter->setOpacity(fraction);
        painter->fillPath(m_outlines[stroke], m_highlight);
        painter->setOpacity(1);
        return;
    }
    double remaining = fraction * m_medianLengths[stroke];
    QPolygonF reached{median[0]};
    for (qsizetype i = 1; i < median.size() && remaining > 0; ++i) {
        const QPointF d = median[i] - median[i - 1];
        const double length = std::hypot(d.x(), d.y());
        if (length <= remaining) {
            reached << median[i];
        } else {
            reached << median[i - 1] + d * (remaining / length);
        }
        remaining -= length;
    }
    painter->save();
    painter->setClipPath(m_outlines[stroke]);
    painter->setPen(QPen(m_highlight, kBrushWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPolyline(reached);
    painter->restore();
}

void StrokeOrderView::paint(QPainter* painter) {
    const double side = std::min(width(), height());
    if (side <= 0) return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate((width() - side) / 2, (height() - side) / 2);
    const double scale = side / tessel::kStrokeBoxSize;
    painter->scale(scale, scale);

    const double box = tessel::kStrokeBoxSize;
    QPen frame(m_grid, 1.5 / scale);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(
        QRectF(0, 0, box, box).adjusted(1 / scale, 1 / scale, -1 / scale, -1 / scale));
    QPen guide(m_grid, 1 / scale, Qt::DashLine);
    painter->setPen(guide);
    painter->drawLine(QPointF(box / 2, 0), QPointF(box / 2, box));
    painter->drawLine(QPointF(0, box / 2), QPointF(box, box / 2));
    painter->setPen(Qt::NoPen);

    if (m_isDiagram) {
        for (const QPainterPath& outline : m_outlines) painter->fillPath(outline, m_ink);
        return;
    }
    for (std::size_t i = 0; i < m_outlines.size(); ++i) {
        const int index = int(i);
        if (index < m_shown) {
            const bool newest = m_highlightNewest && index == m_shown - 1;
            painter->fillPath(m_outlines[i], newest ? m_highlight : m_ink);
        } else {
            painter->fillPath(m_outlines[i], m_ghost);
        }
    }
    if (m_timer.isActive() && m_shown < int(m_outlines.size()))
        paintPartialStroke(painter, std::size_t(m_shown), m_fraction);
}
