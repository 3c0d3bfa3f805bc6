// The module's whole interface to the page, declared once: embind makes the
// page's calls from it. The page sends the text of every box and gets back
// every box that is to show something else, as JSON text, in one call per
// click.
#include "changes_to_page.h"
#include "page_form.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace {

using emscripten::val;

tolvex::web::PageForm form;

// A JavaScript array of [field name, text] pairs, one for each box.
std::vector<tolvex::NamedText> FromPage(const val& texts) {
    std::vector<tolvex::NamedText> all(texts["length"].as<std::size_t>());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const val pair = texts[i];
        all[i] = {pair[0].as<std::string>(), pair[1].as<std::string>()};
    }
    return all;
}

// The form's start-up. The page already shows its texts, as the build
// recorded them from the same form, so none is sent: every start of the
// page saves the conversion.
void StartUp() {
    form.StartUp();
}

// The changes as JSON text, written natively (changes_to_page.h).
std::string Click(const std::string& button, const val& texts) {
    const tolvex::ClickResult result = form.Click(button, FromPage(texts));
    return tolvex::web::ChangesText(result.changes, result.stop ? result.stop->words : "");
}

} // namespace

EMSCRIPTEN_BINDINGS(tolvex) {
    emscripten::function("startUp", &StartUp);
    emscripten::function("click", &Click);
}
