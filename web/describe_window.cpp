// Prints the window's description as the page embeds it, so that the page
// can lay itself out while its WebAssembly module is still compiling, with
// what the start-up writes: the first paint is then the window as it will be.
#include "description_json.h"
#include "page_form.h"

#include <cstdio>
#include <string>

int main() {
    nlohmann::json description = tolvex::web::DescriptionJson(tolvex::TolvexWindow());
    const tolvex::web::PageUpdate started = tolvex::web::PageForm().StartUp();
    nlohmann::json texts = nlohmann::json::array();
    for (const auto& text : started.texts)
        texts.push_back(text ? nlohmann::json(*text) : nlohmann::json(nullptr));
    description["startUp"] = {{"texts", texts}, {"unitIndex", started.unitIndex}};
    const std::string json = description.dump() + "\n";
    std::fwrite(json.data(), 1, json.size(), stdout);
    // A WebAssembly program's runtime stays up after main: flush by hand.
    return std::fflush(stdout) == 0 ? 0 : 1;
}
