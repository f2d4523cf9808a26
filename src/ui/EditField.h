// The window's edit field: a right-aligned line edit that reports when the user leaves it for
// another control of the window (its exit event).
#pragma once

#include <QLineEdit>

class TEditField : public QLineEdit {
  Q_OBJECT

 public:
  explicit TEditField(QWidget* parent);

 signals:
  // The focus moved from this field to another control of the window: by Tab, Backtab, the
  // mouse or the program. Not sent when the focus went to a message box, a menu or another
  // window, nor for a focus loss that had no focus gain before it (Qt makes a field the focus
  // widget before the previous one has been told, so a move of the focus by the handler of that
  // previous field's exit reaches a field that never had the focus).
  void exited();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool FHasFocus = false;
};
