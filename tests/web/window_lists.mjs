// The window's fields (in the form's order) and its focus order, written
// once in tests/data/window.json for these tests and the C++ ones.
import { readFileSync } from "node:fs";
import path from "node:path";
import { root } from "./browser.mjs";

const lists = JSON.parse(readFileSync(path.join(root, "tests", "data", "window.json"), "utf8"));
export const kFields = lists.fields;
export const kFocusOrder = lists.focusOrder;
