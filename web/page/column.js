// The column for narrow screens: the window's controls top to bottom, read
// off its description, so that no place is written twice.

function compareKeys(a, b) {
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return a[i] - b[i];
  return 0;
}

// Rows of the column, read off the window: its left half, its right half
// (the line leads it), then what lies below both. A label stands in the
// first column beside the field it names; the unit list stays beside the box
// on its line; everything else spans the width. Gives each control's
// { row, column } (CSS grid lines) and the number of rows.
export function columnPlaces(description) {
  const controls = description.controls;
  const line = controls.find((c) => c.kind === "line");
  const byName = new Map(controls.map((c) => [c.name, c]));
  const section = (c) => (c.top >= line.top + line.height ? 2 : c.left < line.left ? 0 : 1);
  const anchor = (c) => (c.labelFor ? byName.get(c.labelFor) : c);
  const key = (c) => [section(anchor(c)), anchor(c).top, c.labelFor ? 0 : 1, anchor(c).left];
  const sorted = [...controls].sort((a, b) => compareKeys(key(a), key(b)));
  const places = new Map();
  let row = 0;
  let previous = null;
  for (const control of sorted) {
    const named = previous?.labelFor === control.name;
    const besideBox =
      control.kind === "unitList" &&
      previous?.kind === "textBox" &&
      previous.top === control.top &&
      section(previous) === section(control);
    if (named) {
      places.set(control.name, { row, column: "2 / -1" });
    } else if (besideBox) {
      const place = places.get(previous.name);
      place.column = place.column === "2 / -1" ? "2" : "1 / 3";
      places.set(control.name, { row, column: "3" });
    } else {
      row += 1;
      places.set(control.name, { row, column: control.labelFor ? "1" : "1 / -1" });
    }
    previous = control;
  }
  return { places, rows: row };
}
