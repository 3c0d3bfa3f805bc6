// The window as the build wrote it into the page, shown in one of two
// layouts that only the frame's class switches between: the window as laid
// out, scaled as a whole to the screen, or one column for narrow screens.
// Both places of every control are in the style sheet; nothing here creates
// an element or moves one, so no field loses its text.

import { firstFittingSize } from "./font_fit.js";
import { fitToScreen } from "./screen_fit.js";
import { findUnitList } from "./unit_list.js";

// ---- finding ----

// The controls' elements by name.
function findWindow(description) {
  const elements = new Map();
  for (const control of description.controls)
    elements.set(control.name, document.getElementById(control.name));
  return elements;
}

// ---- captions that fit their boxes, as on the desktop ----

function captionsFit(captions) {
  return captions.every(
    (element) =>
      element.scrollHeight <= element.clientHeight && element.scrollWidth <= element.clientWidth,
  );
}

// The page comes with the first of the description's sizes, largest first.
// Where its captions fit in this browser's fonts, as they do in most, the
// check reads the layout the first paint needs anyway and changes nothing;
// else the largest that fits is searched for (the last one stays when none
// does). Only the captions' text changes: every control keeps its box.
function fitFont(frame, captions, sizes) {
  if (captionsFit(captions)) return;
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

// The window fitted to the browser's fonts and the screen.
export function layOut(description) {
  const frame = document.getElementById(description.name);
  const elements = findWindow(description);
  const byKind = (kind) => description.controls.filter((c) => c.kind === kind);
  const unitControl = byKind("unitList")[0];
  const indexOfText = (text) => description.units.indexOf(text);
  const units = findUnitList(elements.get(unitControl.name), description.units, indexOfText);
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
