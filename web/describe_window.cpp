// Prints the window's description as the page embeds it, so that the page
// can lay itself out while its WebAssembly module is still compiling, with
// what the start-up shows, as the module's form starts: the first paint is
// then the window as it will be, and the page shows it once.
#include "changes_to_page.h"
#include "description_json.h"
#include "page_form.h"

#include <cstdio>
#include <string>

namespace {

// The start-up's changes as a click's are sent to the page, in JSON.
nlohmann::json StartUpJson() {
    const emscripten::val changes =
        tolvex::web::ChangesToPage(tolvex::web::PageForm().StartUp(), "");
    return nlohmann::json::parse(
        emscripten::val::global("JSON").call<std::string>("stringify", changes));
}

} // namespace

int main() {
    nlohmann::json description = tolvex::web::DescriptionJson(tolvex::TolvexWindow());
    description["startUp"] = StartUpJson();
    const std::string json = description.dump() + "\n";
    std::fwrite(json.data(), 1, json.size(), stdout);
    // A WebAssembly program's runtime stays up after main: flush by hand.
    return std::fflush(stdout) == 0 ? 0 : 1;
}
