// The controls of the main window's client area: one table of their names, kinds, places and
// captions, from which the window builds them and loads their localized captions.
#pragma once

#include <QWidget>
#include <stdexcept>
#include <string>

// Creates every control of the table inside clientArea (the object "clientArea"), in the order of
// the table, which is the order they stack in. Each control has its name as object name and
// shows the design's caption until LoadMainControlsStr runs.
void BuildMainControls(QWidget* clientArea);

// Replaces the caption of every control that has a localized text with that text; a label is
// sized to its new text again, a word-wrapped one keeps its width.
void LoadMainControlsStr(QWidget* clientArea);

// The control of class T named name inside clientArea. A control that is missing or of another
// class is a fault of the program: raises std::logic_error.
template <class T>
T* MainControl(QWidget* clientArea, const char* name) {
  T* control = clientArea->findChild<T*>(QString::fromUtf8(name));
  if (!control) {
    throw std::logic_error(std::string("the main window has no such control: ") + name);
  }
  return control;
}
