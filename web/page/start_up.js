// The window at work: laid out from the description written into the page
// at build time while the module compiles; it takes input once the module
// is there.

/* global Form, layOut, TolvexModule */

function start(description, laidOut, module) {
  const { frame, elements, units } = laidOut;
  const form = Form(module, description.fields, elements, units);

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
  byDefault.classList.add("default");

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

const compiling = TolvexModule();
const description = JSON.parse(document.getElementById("WindowDescription").textContent);
const laidOut = layOut(description);
compiling.then((module) => start(description, laidOut, module));
