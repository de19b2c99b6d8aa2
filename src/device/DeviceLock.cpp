#include "device/DeviceLock.h"

namespace lark {

CCriticalSectionAutoLock::CCriticalSectionAutoLock(CMyCriticalSection* section) : section_(section)
{
    if (section_)
        section_->enter();
}

CCriticalSectionAutoLock::~CCriticalSectionAutoLock()
{
    release();
}

void CCriticalSectionAutoLock::release()
{
    if (section_) {
        section_->leave();
        section_ = nullptr;
    }
}

}  // namespace lark
