// The window's latencies at a project's scale, measured on a real display (Xvfb): from a
// keystroke in a dimension field to the work area showing the new value, and from the last key
// of a burst to the open preview showing the program of the fields (its run done and painted).
// Usage: bench_window_latency PROJECT.tcj [KEYSTROKES]; prints the medians in milliseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "locale/LocalStr.h"
#include "platform/NumberText.h"
#include "ui/Application.h"
#include "ui/EditField.h"
#include "ui/Main.h"
#include "ui/PreviewWindow.h"
#include "ui/WindowServices.h"

namespace {

// No dialog may stop the measurement: messages are printed instead.
class TPrintingServices : public TWindowServices {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "error: %s\n", text.c_str());
  }
  std::optional<std::string> ExecuteSaveDialog(const TFileFilter&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ExecuteOpenDialog(const TFileFilter&, const std::string&) override {
    return std::nullopt;
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double Ms(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Runs the event loop until the preview shows the fields and has painted them.
void WaitForPreview(QApplication& app, TFormMain& window) {
  QElapsedTimer waited;
  waited.start();
  while (!window.PreviewSettled()) {
    if (waited.elapsed() > 60000) {
      std::fprintf(stderr, "bench_window_latency: the preview did not settle in a minute\n");
      std::exit(1);
    }
    app.processEvents(QEventLoop::WaitForMoreEvents);  // sleeps until the next event
  }
  window.frmPreview->repaint();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_window_latency PROJECT.tcj [KEYSTROKES]\n");
    return 2;
  }
  const int keystrokes = argc > 2 ? std::max(2, std::atoi(argv[2])) : 9;
  platform::NumberFormat() = platform::NumberFormatFromEnvironment();
  LoadEnglishStr();
  QApplication app(argc, argv);
  PrepareApplication();
  TPrintingServices services;
  TFormMain window(services, TECTOPLAN_BENCH_IMAGES);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "bench_window_latency: the window was not shown\n");
    return 1;
  }
  window.OpenPrjAtStartUp(argv[1]);

  QElapsedTimer timer;
  timer.start();
  window.miPreview->trigger();
  WaitForPreview(app, window);
  const double opened = Ms(timer);

  // Each key takes away or gives back the last digit of the field (60, 6, 60, ...): every
  // keystroke changes the program and keeps it within range.
  TEditField* field = window.txtDimA;
  field->setFocus();
  field->end(false);
  QTest::qWait(50);
  std::vector<double> toWorkArea, toPreview, toPreviewAfterBurst;
  const auto key = [&](int k) {
    QTest::keyClick(field, k % 2 == 0 ? Qt::Key_Backspace : Qt::Key_0);
  };
  for (int k = 0; k < keystrokes; ++k) {
    const QString before = window.bevPrjHeight->text();
    timer.restart();
    key(k);
    app.processEvents();  // the work area's repaint
    window.bevPrjHeight->repaint();
    toWorkArea.push_back(Ms(timer));
    if (window.bevPrjHeight->text() == before) {
      std::fprintf(stderr, "bench_window_latency: a keystroke left the work area unchanged\n");
    }
    WaitForPreview(app, window);
    toPreview.push_back(Ms(timer));
    if (!window.frmPreview->HasPicture()) {
      std::fprintf(stderr, "bench_window_latency: no picture: %s\n",
                   window.frmPreview->ErrorText().c_str());
    }
  }
  // Bursts of four keys, 30 ms apart: the preview settles once after the last.
  for (int burst = 0; burst < std::max(3, keystrokes / 3); ++burst) {
    for (int k = 0; k < 4; ++k) {
      key(k);
      app.processEvents();
      if (k < 3) {
        QTest::qWait(30);
      }
    }
    timer.restart();
    WaitForPreview(app, window);
    toPreviewAfterBurst.push_back(Ms(timer));
  }
  timer.restart();
  window.frmPreview->resize(window.frmPreview->width() - 40, window.frmPreview->height() - 20);
  window.frmPreview->repaint();
  const double resized = Ms(timer);

  std::printf("preview opened and painted: %.1f ms\n", opened);
  std::printf("keystroke to work area: median %.2f ms of %d\n", Median(toWorkArea), keystrokes);
  std::printf("keystroke to preview settled: median %.1f ms\n", Median(toPreview));
  std::printf("last key of a burst of 4 to preview settled: median %.1f ms\n",
              Median(toPreviewAfterBurst));
  std::printf("preview resized and painted: %.1f ms\n", resized);
  return 0;
}
