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

// The page paints with a size the build wrote for its font stacks, one of
// the description's sizes (largest first). Where the captions fit at it and
// not at the next larger one, as in the fonts it was written for, this
// changes nothing; else the largest that fits is searched for (the last one
// stays when none does). Only the captions' text changes: every control keeps
// its box, and the layout and scale do not depend on it. Measured in the
// window layout.
function fitFont(frame, captions, sizes, painted) {
  const setSize = (points) => frame.style.setProperty("--caption-font", points + "pt");
  const fits = (points) => {
    setSize(points);
    return captionsFit(captions);
  };
  const at = sizes.indexOf(painted);
  const fitsAsPainted = at >= 0 && captionsFit(captions) && (at === 0 || !fits(sizes[at - 1]));
  if (fitsAsPainted) frame.style.removeProperty("--caption-font");
  else setSize(firstFittingSize(sizes, fits));
}

// ---- choosing the layout ----

// The layout for the screen as it is now, as the style sheet's container
// queries choose it (the class names it); every resize asks again.
function arrange(frame, windowSize, captionPixels, limits) {
  const root = document.documentElement;
  const margin = parseFloat(getComputedStyle(document.body).marginLeft);
  const room = { width: root.clientWidth - 2 * margin, height: root.clientHeight - 2 * margin };
  const { column, scale } = fitToScreen(room, windowSize, captionPixels, limits);
  frame.classList.toggle("column", column);
  frame.classList.toggle("window", !column);
  frame.style.setProperty("--scale", String(scale));
  const line = frame.querySelector(".line");
  line.setAttribute("aria-orientation", column ? "horizontal" : "vertical");
  return column;
}

// The window's elements, and what fits it to the screen, and its captions
// to the browser's fonts the first time it shows as the window: the style
// sheet already shows it so where the browser divides lengths in CSS and
// has the fonts the size was written for, so this waits for the first paint.
export function layOut(description) {
  const frame = document.getElementById(description.name);
  const elements = findWindow(description);
  const byKind = (kind) => description.controls.filter((c) => c.kind === kind);
  const unitControl = byKind("unitList")[0];
  const indexOfText = (text) => description.units.indexOf(text);
  const units = findUnitList(elements.get(unitControl.name), description.units, indexOfText);
  const captions = [...byKind("label"), ...byKind("pushButton")].map((c) => elements.get(c.name));
  // In CSS pixels, with the frame's border.
  const tpp = description.twipsPerPixel;
  const borders = 2 * description.frameBorderPixels;
  const windowSize = {
    width: description.clientWidth / tpp + borders,
    height: description.clientHeight / tpp + borders,
  };
  const limits = {
    readablePixels: description.readablePixels,
    largestScale: description.largestScale,
  };
  let painted;
  let fitted = false;
  const rearrange = () => {
    if (arrange(frame, windowSize, (painted * 96) / 72, limits) || fitted) return;
    fitFont(frame, captions, description.captionFontPoints, painted);
    fitted = true;
  };
  let arranged = false;
  const fit = () => {
    if (arranged) return;
    arranged = true;
    painted = parseFloat(getComputedStyle(frame).getPropertyValue("--caption-font"));
    rearrange();
    window.addEventListener("resize", rearrange);
  };
  return { frame, elements, units, fit };
}
