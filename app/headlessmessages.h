#pragma once

namespace HostProgram {

// A headless run (configure --batch or --snapshot on the offscreen platform) keeps Qt's
// platform notes (runtime directory, window hints the platform ignores) off standard error,
// where only the program's own lines belong. Other messages pass on unchanged.
void quietPlatformMessages();

} // namespace HostProgram
