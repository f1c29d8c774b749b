// The page's timings in headless Chromium, 40 questions: for each kind
// button, 20 presses from the click to the second animation frame after it
// (by then both documents are painted: the first frame lays them out and
// paints them, the second begins once that one is shown), median and 90th
// percentile, with the time the click's handler took and how many presses
// were drawn by the first frame (at 60 frames a second the second frame comes
// at least 16.7 ms after the first); then the cold start, from the navigation
// to the core's module ready, over 5 fresh visits.
import { StartBrowser } from './browser.mjs';

const PRESSES = 20;
const quantile = (values, q) => [...values].sort((a, b) => a - b)[Math.round(q * (values.length - 1))];
const row = (label, ...cells) => console.log(label.padEnd(34) + cells.map((c) => String(c).padStart(11)).join(''));
const browser = await StartBrowser();
try {
  const page = await browser.NewPage({ viewport: { width: 1366, height: 768 } });
  await page.fill('#spMaxLigne', '40');
  // FICHE_BENCH_TABLES=1: the documents with their conversion tables.
  if (process.env.FICHE_BENCH_TABLES === '1') await page.check('#ckbTableau');
  // FICHE_BENCH_TWO_UNITS=1: with measures in two units.
  if (process.env.FICHE_BENCH_TWO_UNITS === '1') await page.check('#ckbDeuxUnites');
  await page.evaluate(() => {
    let press = null;
    document.addEventListener('click', (event) => {
      press = { button: event.target.textContent, start: performance.now() };
      const current = press;
      requestAnimationFrame((first) => requestAnimationFrame((second) => {
        current.painted = performance.now() - current.start;
        // Drawn by the first frame when the next one begins one interval later, not two.
        current.oneFrame = second - first < 20;
        window.presses.push(current);
      }));
    }, { capture: true });
    // After the button's own handler: the press's work before any frame.
    document.addEventListener('click', () => { press.handler = performance.now() - press.start; });
  });
  row('press to both documents painted', 'median ms', 'p90 ms', 'handler ms', 'in 1 frame');
  const all = [];
  for (const button of await page.$$('button[data-kind]')) {
    for (const presses of [1, PRESSES]) {  // a warm-up press, then the measured ones
      await page.evaluate(() => { window.presses = []; });
      for (let i = 1; i <= presses; i++) {
        await button.click();
        await page.waitForFunction((n) => window.presses.length === n, i);
      }
    }
    const presses = await page.evaluate(() => window.presses);
    const painted = presses.map((p) => p.painted);
    all.push(...painted);
    row(presses[0].button, quantile(painted, 0.5).toFixed(1), quantile(painted, 0.9).toFixed(1),
      quantile(presses.map((p) => p.handler), 0.5).toFixed(1),
      `${presses.filter((p) => p.oneFrame).length}/${PRESSES}`);
  }
  row('all kinds', quantile(all, 0.5).toFixed(1), quantile(all, 0.9).toFixed(1));
  const starts = [];
  for (let i = 0; i < 5; i++) {
    const fresh = await browser.NewPage({ viewport: { width: 1366, height: 768 } });
    starts.push(await fresh.evaluate(() => performance.getEntriesByName('core-ready')[0].startTime));
    await fresh.context().close();
  }
  row('cold start to the core ready', quantile(starts, 0.5).toFixed(1), Math.max(...starts).toFixed(1));
} finally {
  await browser.Stop();
}
