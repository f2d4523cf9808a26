#include "ui/Interactive.h"

#include <string>
#include <vector>

#include "app/AppConfiguration.h"
#include "locale/LocalStr.h"
#include "locale/LocaleUtl.h"
#include "locale/MessageStr.h"
#include "platform/NumberText.h"
#include "ui/Application.h"
#include "ui/ImageFolderPath.h"
#include "ui/Main.h"
#include "ui/WindowServices.h"

int TectoplanRunInteractive(int argc, char** argv) {
  // The module links its own copy of the core: its configuration, text table and number format
  // are filled here from the same arguments and environment as the program's.
  const std::vector<std::string> params(argv + 1, argv + argc);
  platform::NumberFormat() = platform::NumberFormatFromEnvironment();
  LoadConfiguration(params);
  InitLocalStr();
  InitMessageStr(IsPolishInterface(AppCfg.Language));

  TTectoplanApplication app(argc, argv);
  PrepareApplication();
  TQtWindowServices services(nullptr);
  app.SetServices(&services);
  TFormMain window(services, WindowImageFolder());
  services.SetParent(&window);
  window.show();
  const int status = app.exec();
  app.SetServices(nullptr);
  return status;
}
