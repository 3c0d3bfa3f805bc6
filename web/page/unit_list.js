// The editable unit list: any typed text, or one of the items from a list
// that opens under the box.
import { movedHighlight, shownItem, unitKeyAction } from "./unit_rules.js";

// The box, its arrow and its list share one holder, placed where the
// description puts the box, so that they move together in either layout;
// the build wrote all three, with the items.
export function findUnitList(input, items, indexOfText) {
  const holder = input.parentElement;
  const toggle = holder.querySelector(".unit-toggle");
  const list = holder.querySelector(".unit-options");
  const options = [...list.children];
  options.forEach((option, index) =>
    option.addEventListener("mousedown", (event) => {
      event.preventDefault(); // keep the focus in the text
      choose(index);
    }),
  );

  let highlighted = -1;
  // The item the text selects: the form's, or where it has none, the list's own.
  function showSelection(selected = indexOfText(input.value)) {
    const shown = shownItem(!list.hidden, selected, highlighted);
    options.forEach((option, index) => {
      option.setAttribute("aria-selected", String(index === shown));
    });
  }
  function open() {
    list.hidden = false;
    input.setAttribute("aria-expanded", "true");
    highlighted = indexOfText(input.value);
    showSelection();
  }
  function close() {
    list.hidden = true;
    input.setAttribute("aria-expanded", "false");
    input.removeAttribute("aria-activedescendant");
    showSelection();
  }
  function choose(index) {
    input.value = items[index];
    input.dispatchEvent(new Event("input", { bubbles: true }));
    close();
    input.focus();
  }
  function move(step) {
    highlighted = movedHighlight(highlighted, step, items.length);
    input.setAttribute("aria-activedescendant", options[highlighted].id);
    showSelection();
  }
  const actions = {
    open,
    close,
    choose: () => choose(highlighted),
    up: () => move(-1),
    down: () => move(1),
  };
  toggle.addEventListener("mousedown", (event) => event.preventDefault());
  toggle.addEventListener("click", () => {
    if (list.hidden) open();
    else close();
    input.focus();
  });
  input.addEventListener("input", () => showSelection());
  input.addEventListener("blur", close);
  input.addEventListener("keydown", (event) => {
    const action = unitKeyAction(event.key, event.altKey, !list.hidden, highlighted);
    if (action === null) return;
    actions[action]();
    event.preventDefault();
    event.stopPropagation();
  });
  return { showSelection };
}
