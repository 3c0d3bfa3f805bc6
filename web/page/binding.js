// The form in WebAssembly, one call per click: every changed box goes in,
// every box the action wrote comes out. No number is read, computed or
// formatted on this side.

// By the order of the description's "fields": a text for each box whose text
// is not what the module last gave it (null for the others) goes in; a text
// for each box the action changed (null elsewhere) comes back.
export function createForm(module, fields, elements) {
  const boxes = fields.map((field) => elements.get(field.name));
  const given = boxes.map(() => null);
  function changed() {
    return boxes.map((box, i) => {
      if (box.value === given[i]) return null;
      given[i] = box.value;
      return box.value;
    });
  }
  function show(update) {
    update.texts.forEach((text, i) => {
      if (text === null) return;
      if (boxes[i].value !== text) boxes[i].value = text;
      given[i] = boxes[i].value;
    });
    return update;
  }
  return {
    startUp: () => show(module.startUp()),
    click: (button) => show(module.click(button, changed())),
  };
}
