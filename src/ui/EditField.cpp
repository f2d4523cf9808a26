#include "ui/EditField.h"

#include <QFocusEvent>

TEditField::TEditField(QWidget* parent) : QLineEdit(parent) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TEditField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  FHasFocus = true;
}

void TEditField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
      reason == Qt::MenuBarFocusReason) {
    return;  // the focus comes back here when the box, menu or other window closes
  }
  if (!FHasFocus) {
    return;
  }
  FHasFocus = false;
  emit exited();
}
