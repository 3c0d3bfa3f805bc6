// The window at work: laid out from the description written into the page
// at build time, with the start-up texts, while the module compiles; it
// takes input once the module is there.
import createTolvexModule from "tolvex_module";
import { createForm, showChanges } from "./binding.js";
import { layOut } from "./layout.js";
import { decodeBase64 } from "./module_bytes.js";

function start(description, laidOut, module) {
  const { frame, elements, units } = laidOut;
  const form = createForm(module, description.fields, elements, units);

  const dialog = document.getElementById("FailureDialog");
  document.getElementById("FailureTitle").textContent = description.caption;
  let focusBeforeDialog = null;
  dialog.addEventListener("close", () => {
    if (focusBeforeDialog) focusBeforeDialog.focus();
  });
  function reportFailure(words) {
    document.getElementById("FailureText").textContent = words;
    focusBeforeDialog = document.activeElement;
    dialog.showModal();
  }

  // What the action wrote stays, also after a failure.
  function run(button) {
    const update = form.click(button);
    if (update.failure !== "") reportFailure(update.failure);
  }
  for (const { button } of description.actions)
    elements.get(button).addEventListener("click", () => run(button));
  const byDefault = elements.get(description.defaultButton);

  // Enter in a single-line box presses the default button; on a focused
  // button the browser presses that button.
  for (const field of description.fields) {
    const box = elements.get(field.name);
    if (box.tagName !== "INPUT") continue;
    box.addEventListener("keydown", (event) => {
      if (event.key !== "Enter" || event.isComposing) return;
      event.preventDefault();
      byDefault.click();
    });
  }

  form.startUp();
  frame.inert = false;
  frame.removeAttribute("aria-busy");
  elements.get(description.focusOrder[0]).focus();
  performance.mark("tolvex-ready");
  document.documentElement.dataset.ready = "true";
}

// Compiled in the background once the parser has read the bytes. They
// stand after this script so that the parser, and with it the first paint,
// is not held back behind the module's start-up.
const compiling = new Promise((resolve) => {
  const compile = () =>
    resolve(WebAssembly.compile(decodeBase64(document.getElementById("ModuleBytes").textContent)));
  if (document.readyState === "loading")
    document.addEventListener("DOMContentLoaded", compile, { once: true });
  else compile();
});
const description = JSON.parse(document.getElementById("WindowDescription").textContent);
const laidOut = layOut(description);
// The default button, marked after the captions are fitted: the fit
// measures its caption without the mark's bold.
laidOut.elements.get(description.defaultButton).classList.add("default");
// What the start-up shows, as the build recorded it from the module's own
// form, so that the first paint is the window as it will be.
showChanges(laidOut.elements, laidOut.units, description.startUp);
// emscripten's loader instantiates the compiled module when it is there;
// till then the window is painted and waits.
function instantiateWasm(imports, receiveInstance) {
  compiling
    .then((compiled) => WebAssembly.instantiate(compiled, imports))
    .then((instance) => receiveInstance(instance));
  return {};
}
createTolvexModule({ instantiateWasm }).then((module) => start(description, laidOut, module));
