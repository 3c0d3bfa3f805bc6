// The elements of the window's kinds of control, as the description names
// them; where they stand is the layout's business.

function makeTextBox() {
  const box = document.createElement("input");
  box.type = "text";
  box.autocomplete = "off";
  box.spellcheck = false;
  box.setAttribute("autocapitalize", "off");
  return box;
}

function makeResults() {
  const box = document.createElement("textarea");
  box.wrap = "soft";
  box.spellcheck = false;
  box.setAttribute("autocomplete", "off");
  return box;
}

function makeButton(control) {
  const button = document.createElement("button");
  button.type = "button";
  button.textContent = control.text;
  return button;
}

function makeLabel(control) {
  const label = document.createElement(control.labelFor ? "label" : "div");
  if (control.labelFor) label.htmlFor = control.labelFor;
  label.className = "label " + control.alignment;
  label.textContent = control.text;
  if (control.color) label.style.color = "rgb(" + control.color.join(", ") + ")";
  return label;
}

function makeLine() {
  const line = document.createElement("div");
  line.className = "line";
  line.setAttribute("role", "separator");
  line.setAttribute("aria-orientation", "vertical");
  return line;
}

const makers = {
  textBox: makeTextBox,
  multiLineTextBox: makeResults,
  pushButton: makeButton,
  label: makeLabel,
  unitList: makeTextBox,
  line: makeLine,
};

// The element for a control of the description.
export function makeControl(control) {
  return makers[control.kind](control);
}
