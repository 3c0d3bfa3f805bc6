// The captions' font size, as the desktop window chooses it: the largest of
// the sizes to try at which every caption fits its box.

// The first of the sizes (largest first) at which fits() holds, or the last
// size when it holds at none. A caption never needs more room at a smaller
// size, so halving the sizes still in question finds the same size as trying
// each from the largest, with four layouts instead of up to nine.
export function firstFittingSize(sizes, fits) {
  let low = 0;
  let high = sizes.length - 1; // the answer, taken when nothing fits
  while (low < high) {
    const middle = Math.floor((low + high) / 2);
    if (fits(sizes[middle])) high = middle;
    else low = middle + 1;
  }
  return sizes[low];
}
