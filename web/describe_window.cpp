// Prints the window's description as the page embeds it, so that the page
// can lay itself out while its WebAssembly module is still compiling, with
// what the start-up shows, as the module's form starts: the first paint is
// then the window as it will be, and the page shows it once.
#include "changes_to_page.h"
#include "description_json.h"
#include "page_form.h"

#include <cstdio>
#include <string>

int main() {
    nlohmann::json description = tolvex::web::DescriptionJson(tolvex::TolvexWindow());
    description["startUp"] = tolvex::web::ChangesToPage(tolvex::web::PageForm().StartUp(), "");
    const std::string json = description.dump() + "\n";
    std::fwrite(json.data(), 1, json.size(), stdout);
    // A WebAssembly program's runtime stays up after main: flush by hand.
    return std::fflush(stdout) == 0 ? 0 : 1;
}
