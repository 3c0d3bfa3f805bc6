// Where the page shows the window's controls, read back in the window's own
// units, and the twips they should be at.

// Twips from the window's layout table, as a person would measure them.
export const kTwips = {
  FormDia: [1800, 720, 1575, 285], WireDia: [1800, 1200, 1575, 285],
  Ind: [1800, 240, 1575, 285], GO: [2160, 1560, 1095, 615],
  Results: [120, 2280, 6135, 3375], Label1: [600, 240, 1095, 255],
  Label2: [120, 720, 1575, 255], Label3: [240, 1200, 1455, 375],
  IndUnits: [3480, 240, 735, 315], Label4: [120, 1560, 2055, 615],
  Label6: [4440, 360, 615, 255], Label7: [4560, 720, 615, 255],
  Turns: [5280, 360, 735, 285], Length: [5280, 720, 735, 285],
  IndRes: [4560, 1680, 1575, 435], CalcInd: [4920, 1080, 975, 495],
  Label5: [4680, 120, 1215, 255], Line1: [4440, 0, 15, 2280],
};
export const kClientTwips = [6285, 5685];

// The frame's and every control's box as seen (CSS pixels of the viewport),
// and the device pixel ratio.
export function seenBoxes(page) {
  return page.evaluate(() => {
    const box = (e) => {
      const r = e.getBoundingClientRect();
      return [r.left, r.top, r.width, r.height];
    };
    const frame = document.getElementById("Tolvex");
    const controls = {};
    for (const e of frame.querySelectorAll("[id]")) controls[e.id] = box(e);
    return { frame: box(frame), controls, devicePixel: 1 / window.devicePixelRatio };
  });
}

// Each control's misplacement, in device pixels, against its twips / 15 at
// the scale the frame shows (the frame has a one-pixel border); the scale.
export function misplacements(seen) {
  const scale = seen.frame[2] / (kClientTwips[0] / 15 + 2);
  const origin = [seen.frame[0] + scale, seen.frame[1] + scale];
  const out = [];
  const heightScale = seen.frame[3] / (kClientTwips[1] / 15 + 2);
  if (Math.abs(heightScale - scale) * (kClientTwips[1] / 15 + 2) > seen.devicePixel)
    out.push(`frame: scaled ${scale} across but ${heightScale} down`);
  for (const [id, twips] of Object.entries(kTwips)) {
    const box = seen.controls[id];
    if (!box) {
      out.push(`no element #${id}`);
      continue;
    }
    const expected = [origin[0] + (twips[0] / 15) * scale, origin[1] + (twips[1] / 15) * scale,
      (twips[2] / 15) * scale, (twips[3] / 15) * scale];
    if (expected.some((place, i) => Math.abs(box[i] - place) > seen.devicePixel))
      out.push(`${id}: ${box.map((v) => v.toFixed(2))} against ${expected.map((v) => v.toFixed(2))}`);
  }
  return { scale, out };
}
