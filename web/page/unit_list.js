// The editable unit list: any typed text, or one of the items from a list
// that opens under the box.

/* exported UnitList */

// The box, its arrow and its list share one holder, placed where the
// description puts the box, so that they move together in either layout.
function UnitList(holder, input, control, items, indexOfText) {
  const toggle = document.createElement("button");
  toggle.type = "button";
  toggle.className = "unit-toggle";
  toggle.tabIndex = -1;
  toggle.textContent = "\u25be";
  toggle.setAttribute("aria-label", "Show the units");

  const list = document.createElement("ul");
  list.className = "unit-options";
  list.id = control.name + "Options";
  list.setAttribute("role", "listbox");
  list.hidden = true;
  const options = items.map((item, index) => {
    const option = document.createElement("li");
    option.id = control.name + "Option" + index;
    option.setAttribute("role", "option");
    option.textContent = item;
    option.addEventListener("mousedown", (event) => {
      event.preventDefault(); // keep the focus in the text
      choose(index);
    });
    list.append(option);
    return option;
  });

  input.classList.add("unit-list");
  input.setAttribute("role", "combobox");
  input.setAttribute("aria-autocomplete", "none");
  input.setAttribute("aria-controls", list.id);
  input.setAttribute("aria-expanded", "false");
  holder.append(toggle, list);

  let highlighted = -1;
  // The item the text selects: the form's, or where it has none, the list's own.
  function showSelection(selected = indexOfText(input.value)) {
    options.forEach((option, index) => {
      option.setAttribute("aria-selected", String(index === (list.hidden ? selected : highlighted)));
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
    if (list.hidden) return open();
    highlighted = Math.min(items.length - 1, Math.max(0, highlighted + step));
    input.setAttribute("aria-activedescendant", options[highlighted].id);
    showSelection();
  }
  toggle.addEventListener("mousedown", (event) => event.preventDefault());
  toggle.addEventListener("click", () => {
    if (list.hidden) open();
    else close();
    input.focus();
  });
  input.addEventListener("input", () => showSelection());
  input.addEventListener("blur", close);
  input.addEventListener("keydown", (event) => {
    if (event.key === "ArrowDown" && event.altKey) {
      open();
    } else if (event.key === "ArrowDown") {
      move(1);
    } else if (event.key === "ArrowUp") {
      move(-1);
    } else if (event.key === "Escape" && !list.hidden) {
      close();
    } else if (event.key === "Enter" && !list.hidden && highlighted >= 0) {
      choose(highlighted);
    } else {
      return;
    }
    event.preventDefault();
    event.stopPropagation();
  });
  return { showSelection };
}
