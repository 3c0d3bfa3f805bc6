#include "application.h"

namespace tolvex {

namespace {
char kProgramName[] = "tolvex";
} // namespace

Application::Application(int argc, char* argv[])
    : argv_{argc > 0 && argv[0] != nullptr ? argv[0] : kProgramName, nullptr}, app_(argc_, argv_) {}

} // namespace tolvex
