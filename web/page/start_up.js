// The window at work. The build wrote it into the page with the start-up
// texts, so it paints, and takes typing, before any script runs; this
// script fits it to the screen and wires its events while the module
// compiles. A click (or Enter) before the module is there waits, in order,
// and is answered as soon as the module is.
import createTolvexModule from "tolvex_module";
import { createForm } from "./binding.js";
import { layOut } from "./layout.js";
import { compileModule } from "./module_bytes.js";

function failureDialog() {
  const dialog = document.getElementById("FailureDialog");
  let focusBeforeDialog = null;
  dialog.addEventListener("close", () => {
    if (focusBeforeDialog) focusBeforeDialog.focus();
  });
  return (words) => {
    document.getElementById("FailureText").textContent = words;
    focusBeforeDialog = document.activeElement;
    dialog.showModal();
  };
}

// Wires the window's events; gives what starts the form once the module is
// there.
function wire(description, laidOut, reportFailure) {
  const { frame, elements, units } = laidOut;
  let form = null;
  const waiting = [];

  // What the action wrote stays, also after a failure.
  function run(button) {
    if (form === null) {
      waiting.push(button);
      return;
    }
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

  return (module) => {
    laidOut.fit();
    form = createForm(module, description.fields, elements, units);
    form.startUp();
    for (const button of waiting.splice(0)) run(button);
    frame.removeAttribute("aria-busy");
    performance.mark("tolvex-ready");
    document.documentElement.dataset.ready = "true";
  };
}

// Started first: the site's file is already on its way.
const compiling = compileModule();
const description = JSON.parse(document.getElementById("WindowDescription").textContent);
const laidOut = layOut(description);
const reportFailure = failureDialog();
const start = wire(description, laidOut, reportFailure);
// Fitted after the first paint (the frame after it), or at start if sooner.
requestAnimationFrame(() => setTimeout(laidOut.fit));
// emscripten's loader instantiates the compiled module when it is there.
function instantiateWasm(imports, receiveInstance) {
  compiling
    .then((compiled) => WebAssembly.instantiate(compiled, imports))
    .then((instance) => receiveInstance(instance))
    // A module that cannot come (a site without its file, bytes the browser
    // cannot compile) is said, rather than left as a window that never answers.
    .catch((error) => reportFailure(`The calculator could not be loaded: ${error.message}`));
  return {};
}
createTolvexModule({ instantiateWasm }).then(start);
