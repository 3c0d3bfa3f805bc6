// The window built once from its description, then shown in one of two
// layouts that only the frame's class switches between: the window as laid
// out, scaled as a whole to the screen, or one column for narrow screens.
// Switching never rebuilds an element, so no field loses its text.

import { columnPlaces } from "./column.js";
import { makeControl } from "./controls.js";
import { firstFittingSize } from "./font_fit.js";
import { fitToScreen } from "./screen_fit.js";
import { createUnitList } from "./unit_list.js";

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
    const element = makeControl(control);
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
  const setSize = (points) => frame.style.setProperty("--caption-font", points + "pt");
  const fits = (points) => {
    setSize(points);
    return captionsFit(captions);
  };
  setSize(firstFittingSize(sizes, fits));
}

// ---- choosing the layout ----

// The layout for the screen as it is now; every resize asks again.
function arrange(frame, windowSize, captionPixels) {
  const root = document.documentElement;
  const margin = parseFloat(getComputedStyle(document.body).marginLeft);
  const room = { width: root.clientWidth - 2 * margin, height: root.clientHeight - 2 * margin };
  const { column, scale } = fitToScreen(room, windowSize, captionPixels);
  frame.classList.toggle("column", column);
  frame.classList.toggle("window", !column);
  frame.style.setProperty("--scale", String(scale));
  const line = frame.querySelector(".line");
  line.setAttribute("aria-orientation", column ? "horizontal" : "vertical");
}

// The window, inert until the module is there.
export function layOut(description) {
  const frame = document.getElementById("Tolvex");
  frame.inert = true;
  const { elements, placed } = buildWindow(frame, description);
  const byKind = (kind) => description.controls.filter((c) => c.kind === kind);
  const unitControl = byKind("unitList")[0];
  const indexOfText = (text) => description.units.indexOf(text);
  const units = createUnitList(
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
