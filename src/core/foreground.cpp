#include "core/foreground.h"

namespace tavisnap {
namespace {
void* g_mainWindow = nullptr;
}  // namespace

void SetMainWindowHandle(void* hwnd) { g_mainWindow = hwnd; }
void* MainWindowHandle() { return g_mainWindow; }

}  // namespace tavisnap
