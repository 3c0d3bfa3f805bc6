// The form in WebAssembly, one call per click: the text of every box goes
// in, the boxes that are to show something else come out. No number is
// read, computed or formatted on this side, and nothing is remembered.

/* exported Form */

// The texts go in the order of the description's "fields"; a change names
// its field, and the unit list's carries the item it selects.
function Form(module, fields, elements, units) {
  const boxes = fields.map((field) => elements.get(field.name));
  function show(update) {
    for (const change of update.changes) {
      const box = elements.get(change.field);
      if (box.value !== change.text) box.value = change.text;
      if (change.listIndex !== undefined) units.showSelection(change.listIndex);
    }
    return update;
  }
  return {
    startUp: () => show(module.startUp()),
    click: (button) => show(module.click(button, boxes.map((box) => box.value))),
  };
}
