// GraphicsStartup: process-wide GDI+ start-up, and the current folder set to the program's.
#pragma once

#include <windows.h>

// Made when the toolkit is loaded (a static initialiser in GraphicsStartup.cpp) and on
// first use, whichever comes first; GDI+ is shut down at process exit, after every object
// that was built after it.
class GraphicsStartup {
 public:
  static GraphicsStartup& Instance();
  GraphicsStartup(const GraphicsStartup&) = delete;
  GraphicsStartup& operator=(const GraphicsStartup&) = delete;
  ~GraphicsStartup();

 private:
  GraphicsStartup();
  ULONG_PTR token = 0;
};
