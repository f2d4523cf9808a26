// A shared module without the window entry.
extern "C" int SomethingElse() {
  return 0;
}
