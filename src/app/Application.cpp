#include "app/Application.h"

#include "app/SingleInstance.h"

namespace lark {

namespace {
constexpr const char* kInstanceName = "TRW Lark 8k Configuration Tool";
}  // namespace

Application::Application() = default;

Application::~Application()
{
    shutDown();
}

bool Application::startUp()
{
    guard_ = std::make_unique<SingleInstance>(kInstanceName);
    if (guard_->acquire())
        return true;
    guard_.reset();
    return false;
}

void Application::shutDown()
{
    guard_.reset();
}

}  // namespace lark
