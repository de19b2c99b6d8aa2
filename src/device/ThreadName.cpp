#include "device/ThreadName.h"

#ifdef __linux__
#include <pthread.h>
#endif

namespace lark {

void nameThisThread([[maybe_unused]] const char* name)
{
#ifdef __linux__
    pthread_setname_np(pthread_self(), name);
#endif
}

}  // namespace lark
