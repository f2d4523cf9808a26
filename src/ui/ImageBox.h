// An image box of the window: loads a picture file by its full path and shows it stretched to
// the box. A box whose load failed shows no picture.
#pragma once

#include <QWidget>
#include <string>

class TImageBox : public QWidget {
  Q_OBJECT

 public:
  explicit TImageBox(QWidget* parent);

  // Replaces the picture with the file at path. A missing or unreadable file raises EAppError
  // "cannot read the picture PATH: REASON" and leaves the box empty.
  void Load(const std::string& path);

  // The file of the picture shown; empty when the box shows none.
  const std::string& FileName() const { return FFileName; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string FFileName;
  std::string FData;  // the picture file's bytes
};
