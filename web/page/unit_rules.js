// The unit list's rules, apart from its elements: which key does what, where
// the highlight moves, which item shows as selected.

// What a key pressed in the unit box does: "open" the list, move the
// highlight "up" or "down" (either opens a closed list), "close" it,
// "choose" the highlighted item; null leaves the key to the box (and Enter
// to the default button).
export function unitKeyAction(key, altKey, listOpen, highlighted) {
  if (key === "ArrowDown" && altKey) return "open";
  if (key === "ArrowDown") return listOpen ? "down" : "open";
  if (key === "ArrowUp") return listOpen ? "up" : "open";
  if (key === "Escape" && listOpen) return "close";
  if (key === "Enter" && listOpen && highlighted >= 0) return "choose";
  return null;
}

// The highlight one step on, kept on the list (from none, either step lands
// on the first item).
export function movedHighlight(highlighted, step, count) {
  return Math.min(count - 1, Math.max(0, highlighted + step));
}

// The item shown selected: the box's unit while the list is closed, the
// highlighted item while it is open; -1 for none.
export function shownItem(listOpen, selected, highlighted) {
  return listOpen ? highlighted : selected;
}
