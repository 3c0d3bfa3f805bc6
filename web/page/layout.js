// The window built once from its description, then shown in one of two
// layouts that only the frame's class switches between: the window as laid
// out, scaled as a whole to the screen, or one column for narrow screens.
// Switching never rebuilds an element, so no field loses its text.

/* exported layOut */
/* global UnitList */

// Text smaller than this, as seen, is not read comfortably.
const kReadablePixels = 12;
// The window grows to at most three times its 96-dpi size.
const kLargestScale = 3;

// ---- the controls ----

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

// ---- the column: the same controls, top to bottom ----

function compareKeys(a, b) {
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return a[i] - b[i];
  return 0;
}

// Rows of the column, read off the window: its left half, its right half
// (the line leads it), then what lies below both. A label stands in the
// first column beside the field it names; the unit list stays beside the box
// on its line; everything else spans the width.
function columnPlaces(description) {
  const controls = description.controls;
  const line = controls.find((c) => c.kind === "line");
  const byName = new Map(controls.map((c) => [c.name, c]));
  const section = (c) => (c.top >= line.top + line.height ? 2 : c.left < line.left ? 0 : 1);
  const anchor = (c) => (c.labelFor ? byName.get(c.labelFor) : c);
  const key = (c) => [section(anchor(c)), anchor(c).top, c.labelFor ? 0 : 1, anchor(c).left];
  const sorted = [...controls].sort((a, b) => compareKeys(key(a), key(b)));
  const places = new Map();
  let row = 0;
  let previous = null;
  for (const control of sorted) {
    const named = previous?.labelFor === control.name;
    const besideBox =
      control.kind === "unitList" &&
      previous?.kind === "textBox" &&
      previous.top === control.top &&
      section(previous) === section(control);
    if (named) {
      places.set(control.name, { row, column: "2 / -1" });
    } else if (besideBox) {
      const place = places.get(previous.name);
      place.column = place.column === "2 / -1" ? "2" : "1 / 3";
      places.set(control.name, { row, column: "3" });
    } else {
      row += 1;
      places.set(control.name, { row, column: control.labelFor ? "1" : "1 / -1" });
    }
    previous = control;
  }
  return { places, rows: row };
}

// ---- building ----

// Each control keeps both of its places as custom properties; the frame's
// class picks which the style sheet uses.
function place(element, control, twipsPerPixel, columnPlace) {
  const px = (twips) => twips / twipsPerPixel + "px";
  element.style.setProperty("--left", px(control.left));
  element.style.setProperty("--top", px(control.top));
  element.style.setProperty("--width", px(control.width));
  element.style.setProperty("--height", px(control.height));
  element.style.setProperty("--row", String(columnPlace.row));
  element.style.setProperty("--column", columnPlace.column);
}

function buildWindow(frame, description) {
  const tpp = description.twipsPerPixel;
  document.title = description.caption;
  frame.querySelector("h1").textContent = description.caption;
  frame.setAttribute("aria-label", description.caption);
  frame.style.setProperty("--client-width", description.clientWidth / tpp + "px");
  frame.style.setProperty("--client-height", description.clientHeight / tpp + "px");
  const column = columnPlaces(description);
  frame.style.setProperty("--rows-above-last", String(column.rows - 1));
  const elements = new Map();
  const placed = new Map(); // what stands at the control's place
  for (const control of description.controls) {
    const element = makers[control.kind](control);
    element.id = control.name;
    let holder = element;
    if (control.kind === "unitList") {
      holder = document.createElement("div");
      holder.className = "unit-box";
      holder.append(element);
    }
    place(holder, control, tpp, column.places.get(control.name));
    if (control.accessibleName) element.setAttribute("aria-label", control.accessibleName);
    elements.set(control.name, element);
    placed.set(control.name, holder);
  }
  // Focus follows the document order: the focusable controls in tab order,
  // then the rest.
  for (const name of description.focusOrder) frame.append(placed.get(name));
  for (const [name, holder] of placed)
    if (!description.focusOrder.includes(name)) frame.append(holder);
  return { elements, placed };
}

// ---- captions that fit their boxes, as on the desktop ----

function captionsFit(captions) {
  return captions.every(
    (element) =>
      element.scrollHeight <= element.clientHeight && element.scrollWidth <= element.clientWidth,
  );
}

// The sizes to try come with the description, largest first; the last one
// stays when none fits. Measured in the window layout at its own size.
function fitFont(frame, captions, sizes) {
  const fits = (points) => {
    frame.style.setProperty("--caption-font", points + "pt");
    return captionsFit(captions);
  };
  if (!sizes.some(fits)) frame.style.setProperty("--caption-font", sizes[sizes.length - 1] + "pt");
}

// ---- choosing the layout ----

// The window, scaled to fill the screen's height (or width) but no larger
// than kLargestScale, wherever the screen is wide enough to show its text at
// kReadablePixels or more; below that width, the column. A screen too low
// for the whole window at a readable size scrolls the page.
function arrange(frame, windowSize, captionPixels) {
  const root = document.documentElement;
  const margin = parseFloat(getComputedStyle(document.body).marginLeft);
  const readable = kReadablePixels / captionPixels;
  const byWidth = (root.clientWidth - 2 * margin) / windowSize.width;
  const byHeight = (root.clientHeight - 2 * margin) / windowSize.height;
  const column = byWidth < readable;
  frame.classList.toggle("column", column);
  frame.classList.toggle("window", !column);
  const scale = Math.min(byWidth, Math.max(byHeight, readable), kLargestScale);
  frame.style.setProperty("--scale", String(column ? 1 : scale));
  const line = frame.querySelector(".line");
  line.setAttribute("aria-orientation", column ? "horizontal" : "vertical");
}

function layOut(description) {
  const frame = document.getElementById("Tolvex");
  frame.inert = true;
  const { elements, placed } = buildWindow(frame, description);
  const byKind = (kind) => description.controls.filter((c) => c.kind === kind);
  const unitControl = byKind("unitList")[0];
  const indexOfText = (text) => description.units.indexOf(text);
  const units = UnitList(
    placed.get(unitControl.name),
    elements.get(unitControl.name),
    unitControl,
    description.units,
    indexOfText,
  );
  fitFont(
    frame,
    [...byKind("label"), ...byKind("pushButton")].map((c) => elements.get(c.name)),
    description.captionFontPoints,
  );
  const windowSize = { width: frame.offsetWidth, height: frame.offsetHeight };
  const captionPixels = parseFloat(getComputedStyle(frame).fontSize);
  frame.style.setProperty("--frame-height", windowSize.height + "px");
  const rearrange = () => arrange(frame, windowSize, captionPixels);
  rearrange();
  window.addEventListener("resize", rearrange);
  return { frame, elements, units };
}
