#include "icons.h"

// The icons live in the GUI library's resources, which a static library must register
// (once).
static void InitIconResources() {
  static bool registered = false;
  if (registered) return;
  Q_INIT_RESOURCE(onefortwo);
  registered = true;
}

namespace onefortwo {
namespace {

QIcon IconFromSizes(const char* name, std::initializer_list<int> sizes) {
  InitIconResources();
  QIcon icon;
  for (int size : sizes) icon.addFile(QString(":/icons/%1-%2.png").arg(name).arg(size));
  return icon;
}

}  // namespace

QIcon StationIcon() {
  return IconFromSizes("station", {32, 64, 128});
}
QIcon AmplifierIcon() {
  return IconFromSizes("amplifier", {32, 64});
}

}  // namespace onefortwo
