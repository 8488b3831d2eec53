#pragma once

// The tray icon control and the clock keep their classes in the namespace pinlib6, so that a
// host program's own Timer or Clock can never stand in for theirs. This program grew up with
// them in the global namespace and names them as before: every one of its files sees these
// using-declarations first (the build includes this header ahead of each source).
namespace pinlib6 {
class Clock;
class ClockWait;
class RealClock;
class Timer;
class VirtualClock;
class ImageList;
class ImageListItems;
struct ImageListItem;
class Lumenpin;
class StdPicture;
struct NotifyRecord;
class TrayService;
class TrayHosts;
class QtTrayService;
class RecordingTrayService;
namespace MouseMessage { }
} // namespace pinlib6

using pinlib6::Clock;
using pinlib6::ClockWait;
using pinlib6::ImageList;
using pinlib6::ImageListItem;
using pinlib6::ImageListItems;
using pinlib6::Lumenpin;
using pinlib6::NotifyRecord;
using pinlib6::QtTrayService;
using pinlib6::RealClock;
using pinlib6::RecordingTrayService;
using pinlib6::StdPicture;
using pinlib6::Timer;
using pinlib6::TrayHosts;
using pinlib6::TrayService;
using pinlib6::VirtualClock;
namespace MouseMessage = pinlib6::MouseMessage;
