// Game pads through Raw Input and the HID parser (hid.dll): registration, each
// pad's preparsed data and field ranges, and its reports read into PadKeys.
#include "win32/raw_pads.h"

// After <windows.h>, which raw_pads.h brings; the usages before the parser, whose
// header declares hid.dll's functions without C linkage.
extern "C" {
#include <hidusage.h>

#include <hidpi.h>
}

#include <algorithm>
#include <string>

namespace gravisk::win32 {
namespace {

constexpr UINT kFailed = static_cast<UINT>(-1);

PHIDP_PREPARSED_DATA parsed(const std::vector<unsigned char>& data) {
  return reinterpret_cast<PHIDP_PREPARSED_DATA>(const_cast<unsigned char*>(data.data()));
}

// The range of input value `usage` on the generic desktop page, if the pad has one.
bool valueRange(PHIDP_PREPARSED_DATA data, USAGE usage, HidRange& range) {
  HIDP_VALUE_CAPS caps[4]{};
  USHORT count = static_cast<USHORT>(std::size(caps));
  if (HidP_GetSpecificValueCaps(HidP_Input, HID_USAGE_PAGE_GENERIC, 0, usage, caps, &count, data) !=
          HIDP_STATUS_SUCCESS ||
      count == 0) {
    return false;
  }
  range = {caps[0].LogicalMin, caps[0].LogicalMax, caps[0].BitSize};
  return true;
}

}  // namespace

bool RawPads::listen(HWND window) {
  // INPUTSINK: the target is a window that is never in front itself; each report
  // says whether one of the program's windows is.
  const DWORD flags = RIDEV_DEVNOTIFY | RIDEV_INPUTSINK;
  const RAWINPUTDEVICE devices[] = {
      {HID_USAGE_PAGE_GENERIC, HID_USAGE_GENERIC_JOYSTICK, flags, window},
      {HID_USAGE_PAGE_GENERIC, HID_USAGE_GENERIC_GAMEPAD, flags, window},
  };
  return RegisterRawInputDevices(devices, std::size(devices), sizeof(RAWINPUTDEVICE)) != FALSE;
}

RawPads::Pad* RawPads::padFor(HANDLE device) {
  for (Pad& pad : pads_) {
    if (pad.device == device) return &pad;
  }
  RID_DEVICE_INFO info{};
  info.cbSize = sizeof info;
  UINT size = sizeof info;
  if (GetRawInputDeviceInfoW(device, RIDI_DEVICEINFO, &info, &size) == kFailed ||
      info.dwType != RIM_TYPEHID || info.hid.usUsagePage != HID_USAGE_PAGE_GENERIC ||
      (info.hid.usUsage != HID_USAGE_GENERIC_JOYSTICK &&
       info.hid.usUsage != HID_USAGE_GENERIC_GAMEPAD)) {
    return nullptr;
  }
  Pad pad;
  UINT length = 0;
  if (GetRawInputDeviceInfoW(device, RIDI_PREPARSEDDATA, nullptr, &length) == kFailed ||
      length == 0) {
    return nullptr;
  }
  pad.preparsed.resize(length);
  if (GetRawInputDeviceInfoW(device, RIDI_PREPARSEDDATA, pad.preparsed.data(), &length) ==
      kFailed) {
    return nullptr;
  }
  UINT chars = 0;
  std::string name;
  if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &chars) != kFailed && chars > 0) {
    std::wstring wide(chars, L'\0');
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, wide.data(), &chars) != kFailed) {
      for (const wchar_t c : wide) name.push_back(c < 128 ? static_cast<char>(c) : '?');
    }
  }
  pad.layout = padLayout(static_cast<std::uint16_t>(info.hid.dwVendorId), name);
  const PHIDP_PREPARSED_DATA data = parsed(pad.preparsed);
  pad.hasHat = valueRange(data, HID_USAGE_GENERIC_HATSWITCH, pad.fields.hat);
  pad.hasX = valueRange(data, HID_USAGE_GENERIC_X, pad.fields.x);
  pad.hasY = valueRange(data, HID_USAGE_GENERIC_Y, pad.fields.y);
  pad.device = device;
  pad.id = nextId_++;
  pads_.push_back(std::move(pad));
  return &pads_.back();
}

HidReading RawPads::read(const Pad& pad, unsigned char* report, ULONG size) const {
  const PHIDP_PREPARSED_DATA data = parsed(pad.preparsed);
  const auto bytes = reinterpret_cast<PCHAR>(report);
  HidReading reading;
  // A report that does not carry a control (another report id) leaves it as it was.
  ULONG count = HidP_MaxUsageListLength(HidP_Input, HID_USAGE_PAGE_BUTTON, data);
  if (count > 0) {
    std::vector<USAGE> usages(count);
    if (HidP_GetUsages(HidP_Input, HID_USAGE_PAGE_BUTTON, 0, usages.data(), &count, data, bytes,
                       size) == HIDP_STATUS_SUCCESS) {
      reading.buttons.emplace(usages.begin(), usages.begin() + count);
    }
  }
  const auto value = [&](bool has, USAGE usage) -> std::optional<std::uint32_t> {
    ULONG raw = 0;
    if (has && HidP_GetUsageValue(HidP_Input, HID_USAGE_PAGE_GENERIC, 0, usage, &raw, data, bytes,
                                  size) == HIDP_STATUS_SUCCESS) {
      return raw;
    }
    return std::nullopt;
  };
  reading.hat = value(pad.hasHat, HID_USAGE_GENERIC_HATSWITCH);
  reading.x = value(pad.hasX, HID_USAGE_GENERIC_X);
  reading.y = value(pad.hasY, HID_USAGE_GENERIC_Y);
  return reading;
}

std::vector<PadAction> RawPads::input(HRAWINPUT input, bool foreground, std::uint64_t nowMs) {
  UINT size = 0;
  if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) {
    return {};
  }
  buffer_.resize(size);
  if (GetRawInputData(input, RID_INPUT, buffer_.data(), &size, sizeof(RAWINPUTHEADER)) == kFailed) {
    return {};
  }
  auto* raw = reinterpret_cast<RAWINPUT*>(buffer_.data());
  if (raw->header.dwType != RIM_TYPEHID) return {};
  Pad* pad = padFor(raw->header.hDevice);
  if (!pad) return {};
  std::vector<PadAction> actions;
  const RAWHID& hid = raw->data.hid;
  for (DWORD i = 0; i < hid.dwCount; ++i) {
    unsigned char* report = raw->data.hid.bRawData + std::size_t{i} * hid.dwSizeHid;
    const PadState after = foreground ? padState(pad->layout, pad->fields,
                                                 read(*pad, report, hid.dwSizeHid), pad->state)
                                      : PadState{};
    const std::vector<PadAction> changes = padChanges(keys_, pad->id, pad->state, after, nowMs);
    actions.insert(actions.end(), changes.begin(), changes.end());
    pad->state = after;
  }
  return actions;
}

void RawPads::deviceChanged(WPARAM change, HANDLE device) {
  if (change == GIDC_ARRIVAL) {
    padFor(device);
    return;
  }
  const auto gone = std::find_if(pads_.begin(), pads_.end(),
                                 [device](const Pad& pad) { return pad.device == device; });
  if (change != GIDC_REMOVAL || gone == pads_.end()) return;
  keys_.padRemoved(gone->id);
  pads_.erase(gone);
}

}  // namespace gravisk::win32
