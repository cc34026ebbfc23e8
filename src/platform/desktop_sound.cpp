#include "desktop_sound.h"

#if ONEFORTWO_HAVE_CANBERRA
#include <canberra.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace onefortwo {

#if ONEFORTWO_HAVE_CANBERRA

struct DesktopSound::Context {
  ca_context* ca = nullptr;
};

DesktopSound::DesktopSound(const std::string& application_name) {
  ca_context* ca = nullptr;
  if (ca_context_create(&ca) != CA_SUCCESS) return;
  ca_context_change_props(ca, CA_PROP_APPLICATION_NAME, application_name.c_str(), nullptr);
  context_ = new Context{ca};
}

DesktopSound::~DesktopSound() {
  if (context_ == nullptr) return;
  ca_context_destroy(context_->ca);
  delete context_;
}

bool DesktopSound::Play(const char* event_id, const char* description) {
  if (context_ == nullptr) return false;
  // The first play connects to the sound server; a failure there comes back here.
  return ca_context_play(context_->ca, 0, CA_PROP_EVENT_ID, event_id, CA_PROP_EVENT_DESCRIPTION,
                         description, nullptr) == CA_SUCCESS;
}

#elif defined(_WIN32)

// Windows has one exclamation sound for every warning; the event name is not needed.
struct DesktopSound::Context {};

DesktopSound::DesktopSound(const std::string&) {}
DesktopSound::~DesktopSound() = default;
bool DesktopSound::Play(const char*, const char*) {
  return MessageBeep(MB_ICONEXCLAMATION) != 0;
}

#else

struct DesktopSound::Context {};

DesktopSound::DesktopSound(const std::string&) {}
DesktopSound::~DesktopSound() = default;
bool DesktopSound::Play(const char*, const char*) {
  return false;
}

#endif

}  // namespace onefortwo
