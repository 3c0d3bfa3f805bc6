// The module's whole interface to the page, declared once: embind makes the
// page's calls from it. The page sends every box a person changed and gets
// back every box the action changed, in one call per click.
#include "page_form.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace {

using emscripten::val;
using tolvex::web::BoxTexts;
using tolvex::web::PageUpdate;

tolvex::web::PageForm form;

// A JavaScript array of strings and nulls, null where a box is unchanged.
BoxTexts FromPage(const val& texts) {
    BoxTexts edited(texts["length"].as<std::size_t>());
    for (std::size_t i = 0; i < edited.size(); ++i) {
        const val text = texts[i];
        if (text.isString()) edited[i] = text.as<std::string>();
    }
    return edited;
}

// {texts: [string or null, ...], unitIndex, failure}
val ToPage(const PageUpdate& update) {
    val texts = val::array();
    for (std::size_t i = 0; i < update.texts.size(); ++i)
        texts.set(i, update.texts[i] ? val(*update.texts[i]) : val::null());
    val result = val::object();
    result.set("texts", texts);
    result.set("unitIndex", update.unitIndex);
    result.set("failure", update.failure);
    return result;
}

val StartUp() {
    return ToPage(form.StartUp());
}

val Click(const std::string& button, const val& edited) {
    return ToPage(form.Click(button, FromPage(edited)));
}

} // namespace

EMSCRIPTEN_BINDINGS(tolvex) {
    emscripten::function("startUp", &StartUp);
    emscripten::function("click", &Click);
}
