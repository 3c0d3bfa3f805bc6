// Which layout a screen gets, and at what scale.

// Text smaller than this, as seen, is not read comfortably.
const kReadablePixels = 12;
// The window grows to at most three times its 96-dpi size.
const kLargestScale = 3;

// The window, scaled to fill the screen's height (or width) but no larger
// than kLargestScale, wherever the screen is wide enough to show its text at
// kReadablePixels or more; below that width, the column at scale 1. A screen
// too low for the whole window at a readable size gets the readable size
// (and scrolls). Sizes in CSS pixels; room is the screen less the margins.
export function fitToScreen(room, windowSize, captionPixels) {
  const readable = kReadablePixels / captionPixels;
  const byWidth = room.width / windowSize.width;
  const byHeight = room.height / windowSize.height;
  const column = byWidth < readable;
  const scale = Math.min(byWidth, Math.max(byHeight, readable), kLargestScale);
  return { column, scale: column ? 1 : scale };
}
