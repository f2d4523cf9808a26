// A stand-in for the window module: its entry answers with a status made from its arguments, so
// the loader test can see that the arguments and the project file arrived.
extern "C" __attribute__((visibility("default"))) int TectoplanRunWindow(int argc, char** argv,
                                                                         const char* projectFile) {
  return argc * 10 + (argv[argc - 1][0] == 'x' ? 1 : 0) + (projectFile ? 100 : 0);
}
