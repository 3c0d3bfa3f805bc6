// The form in WebAssembly, one call per click: the text of every box goes
// in, the boxes that are to show something else come out. No number is
// read, computed or formatted on this side, and nothing is remembered.

// What an update shows: each change's text in its box, and the item that
// the unit list's change selects. The start-up's changes, as the build
// recorded them from the module's own form, are shown so before the module
// is there, and only then: the module's start-up sets its form up and sends
// nothing.
export function showChanges(elements, units, update) {
  for (const change of update.changes) {
    const box = elements.get(change.field);
    if (box.value !== change.text) box.value = change.text;
    if (change.listIndex !== undefined) units.showSelection(change.listIndex);
  }
  return update;
}

// Each text goes with its field's name, so that no order of the page's can
// put it into another field; a change names its field, and the unit list's
// carries the item it selects. The module answers in JSON text.
export function createForm(module, fields, elements, units) {
  const boxes = fields.map(({ name }) => [name, elements.get(name)]);
  const show = (update) => showChanges(elements, units, update);
  return {
    startUp: () => module.startUp(),
    click: (button) =>
      show(JSON.parse(module.click(button, boxes.map(([name, box]) => [name, box.value])))),
  };
}
