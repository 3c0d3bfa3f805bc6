#include "application.h"

namespace tolvex {

namespace {
char kProgramName[] = "tolvex";

std::array<char*, 2> ProgramNameAlone(int argc, char* argv[]) {
    return {argc > 0 && argv[0] != nullptr ? argv[0] : kProgramName, nullptr};
}
} // namespace

Application::Application(int argc, char* argv[])
    : argv_(ProgramNameAlone(argc, argv)), app_(argc_, argv_.data()) {}

} // namespace tolvex
