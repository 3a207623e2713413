#pragma once

#include <QImage>
#include <QWidget>

namespace vmm {

// Shows one view surface (a picture the colouring routines draw into) at its
// own pixel size, and reports mouse and key events in surface pixels.
class SurfaceWidget : public QWidget {
  Q_OBJECT

 public:
  SurfaceWidget(const QImage *image, QWidget *parent);

  // The image was replaced or resized: take its size again and repaint everything.
  void imageReplaced();

 signals:
  // Buttons as bits: 1 left, 2 right, 4 middle.
  void mouseMoved(int buttons, double x, double y);
  void mousePressed(int buttons, double x, double y);
  void mouseReleased(int buttons);
  void keyPressed(int key);

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  const QImage *image_;
};

// Mouse buttons as the editing rules count them: 1 left, 2 right, 4 middle.
int buttonBits(Qt::MouseButtons buttons);

}  // namespace vmm
