#pragma once

namespace lark {

// Names the calling thread where the system can (at most 15 characters on Linux), so that it
// shows in top -H and /proc/PID/task/*/comm and its wake-ups can be told apart.
void nameThisThread(const char* name);

}  // namespace lark
