// Prints the window's description as the page embeds it, so that the page
// can lay itself out while its WebAssembly module is still compiling.
#include "description_json.h"

#include <cstdio>
#include <string>

int main() {
    const std::string json = tolvex::web::DescriptionJson(tolvex::TolvexWindow()).dump() + "\n";
    std::fwrite(json.data(), 1, json.size(), stdout);
    // A WebAssembly program's runtime stays up after main: flush by hand.
    return std::fflush(stdout) == 0 ? 0 : 1;
}
