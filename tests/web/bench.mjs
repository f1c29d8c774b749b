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
const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.round(q * (sorted.length - 1))];
};
const browser = await StartBrowser();
try {
  const page = await browser.NewPage({ viewport: { width: 1366, height: 768 } });
  await page.fill('#spMaxLigne', '40');
  await page.evaluate(() => {
    window.presses = [];
    let press = null;
    document.addEventListener('click', (event) => {
      const start = performance.now();
      press = { button: event.target.textContent, start };
      requestAnimationFrame((first) => requestAnimationFrame((second) => {
        press.painted = performance.now() - start;
        // The frame after the press was drawn in time when the next one
        // begins one frame interval later, not two.
        press.oneFrame = second - first < 20;
        window.presses.push(press);
      }));
    }, { capture: true });
    // After the button's own handler: the press's work before any frame.
    document.addEventListener('click', () => { press.handler = performance.now() - press.start; });
  });
  console.log(`${'press to both documents painted'.padEnd(34)}${'median ms'.padStart(10)}` +
    `${'p90 ms'.padStart(10)}${'handler ms'.padStart(12)}${'in 1 frame'.padStart(12)}`);
  const all = [];
  for (const button of await page.$$('button[data-kind]')) {
    await page.evaluate(() => { window.presses = []; });
    await button.click();  // warm-up
    await page.waitForFunction(() => window.presses.length === 1);
    await page.evaluate(() => { window.presses = []; });
    for (let i = 0; i < PRESSES; i++) {
      await button.click();
      await page.waitForFunction((n) => window.presses.length === n, i + 1);
    }
    const presses = await page.evaluate(() => window.presses);
    const painted = presses.map((p) => p.painted);
    all.push(...painted);
    console.log(`${presses[0].button.padEnd(34)}${quantile(painted, 0.5).toFixed(1).padStart(10)}` +
      `${quantile(painted, 0.9).toFixed(1).padStart(10)}` +
      `${quantile(presses.map((p) => p.handler), 0.5).toFixed(1).padStart(12)}` +
      `${`${presses.filter((p) => p.oneFrame).length}/${PRESSES}`.padStart(12)}`);
  }
  console.log(`${'all kinds'.padEnd(34)}${quantile(all, 0.5).toFixed(1).padStart(10)}` +
    `${quantile(all, 0.9).toFixed(1).padStart(10)}`);
  const starts = [];
  for (let i = 0; i < 5; i++) {
    const fresh = await browser.NewPage({ viewport: { width: 1366, height: 768 } });
    starts.push(await fresh.evaluate(() => performance.getEntriesByName('core-ready')[0].startTime));
    await fresh.context().close();
  }
  console.log(`${'cold start to the core ready'.padEnd(34)}${quantile(starts, 0.5).toFixed(1).padStart(10)}` +
    `${Math.max(...starts).toFixed(1).padStart(10)}`);
} finally {
  await browser.Stop();
}
