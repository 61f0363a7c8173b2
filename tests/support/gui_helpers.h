#pragma once
// Helpers for GUI tests: the test program's main() owns one offscreen
// QApplication; these drive real widgets and read what they paint.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QTest>
#include <QWidget>
#include <functional>

namespace guitest {

// Processes events until pred() holds or timeoutMs passes; answers pred().
bool pumpUntil(const std::function<bool()>& pred, int timeoutMs = 2000);

// Processes pending events, including deferred deletes.
void pump();

// What the widget paints, at its own pixel size (device pixel ratio 1).
QImage grabImage(QWidget* w);

// The colour of one pixel of the widget's grab(), in widget coordinates.
QColor pixelAt(QWidget* w, QPoint p);

// Bounding box of the pixels of `img` inside `area` that differ from `background`;
// an empty rect when none does.
QRect boundsOfNot(const QImage& img, QColor background, QRect area = {});

inline void click(QWidget* w, QPoint p = {}, Qt::MouseButton b = Qt::LeftButton) {
  QTest::mouseClick(w, b, Qt::NoModifier, p.isNull() ? w->rect().center() : p);
}
inline void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QTest::keyClick(w, k, m);
}
inline void type(QWidget* w, const QString& text) {
  QTest::keyClicks(w, text);
}

}  // namespace guitest
