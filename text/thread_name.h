#pragma once
// Names the calling thread, as debuggers and the run benchmark's processor
// time split show it (Wine hands the name on to the Linux thread).

namespace quorvane {

// Does nothing where the system cannot name threads (before Windows 10).
void nameCurrentThread(const wchar_t* name);

}  // namespace quorvane
