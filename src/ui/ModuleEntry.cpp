#include "ui/ModuleEntry.h"

#include "ui/Application.h"
#include "ui/ImageFolderPath.h"
#include "ui/Main.h"
#include "ui/WindowServices.h"

int TectoplanRunWindow(int argc, char** argv, const char* projectFile) {
  TTectoplanApplication app(argc, argv);
  PrepareApplication();
  TQtWindowServices services(nullptr);
  app.SetServices(&services);
  TFormMain window(services, WindowImageFolder());
  services.SetParent(&window);
  window.show();
  if (projectFile) {
    window.OpenPrjAtStartUp(projectFile);
  }
  const int status = app.exec();
  app.SetServices(nullptr);
  return status;
}
