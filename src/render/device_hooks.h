// Seams for testing the device start-up without a real display.
#pragma once

#include <functional>

#include "platform/video.h"

namespace tw::render {

struct DeviceHooks {
  std::function<bool(const platform::VideoConfig&)> open_display;
  std::function<void(const char*)> show_message;
};
void SetDeviceHooks(DeviceHooks hooks);

}  // namespace tw::render
