// Allocations the system's font configuration library keeps until exit; the
// leak checker of sanitizer builds would report them on every Qt test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
