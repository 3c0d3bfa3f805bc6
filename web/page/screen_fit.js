// Which layout a screen gets, and at what scale.

// The window, scaled to fill the screen's height (or width) but no larger
// than limits.largestScale, wherever the screen is wide enough to show its
// text at limits.readablePixels or more (text smaller than that is not read
// comfortably); below that width, the column at scale 1. A screen too low
// for the whole window at a readable size gets the readable size (and
// scrolls). Sizes in CSS pixels; room is the screen less the margins; the
// limits are the window's description's.
export function fitToScreen(room, windowSize, captionPixels, limits) {
  const readable = limits.readablePixels / captionPixels;
  const byWidth = room.width / windowSize.width;
  const byHeight = room.height / windowSize.height;
  const column = byWidth < readable;
  const scale = Math.min(byWidth, Math.max(byHeight, readable), limits.largestScale);
  return { column, scale: column ? 1 : scale };
}
