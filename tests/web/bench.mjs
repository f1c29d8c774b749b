// From a press of a kind button to both documents laid out on the page, 40
// questions, in headless Chromium: 20 presses of each button, the median of
// each and of all. The time runs from the click to the end of the layout
// that the browser must do before it can paint both panes.
import { StartBrowser } from './browser.mjs';

const PRESSES = 20;
const browser = await StartBrowser();
try {
  const page = await browser.NewPage({ viewport: { width: 1000, height: 700 } });
  await page.fill('#spMaxLigne', '40');
  await page.dispatchEvent('#spMaxLigne', 'input');
  const times = await page.evaluate((presses) => {
    const measure = (button) => {
      const start = performance.now();
      button.click();
      // Forces the style and layout of both panes, as a paint would.
      document.getElementById('RxE1').getBoundingClientRect();
      document.getElementById('RxE2').lastElementChild.getBoundingClientRect();
      return performance.now() - start;
    };
    const result = {};
    for (const button of document.querySelectorAll('button[data-kind]')) {
      measure(button);  // warm-up
      result[button.textContent] = Array.from({ length: presses }, () => measure(button));
    }
    return result;
  }, PRESSES);
  const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    return (sorted[(sorted.length - 1) >> 1] + sorted[sorted.length >> 1]) / 2;
  };
  console.log(`${'press to both documents shown'.padEnd(34)}${'median ms'.padStart(10)}`);
  for (const [kind, values] of Object.entries(times)) {
    console.log(`${kind.padEnd(34)}${median(values).toFixed(2).padStart(10)}`);
  }
  console.log(`${'all kinds'.padEnd(34)}${median(Object.values(times).flat()).toFixed(2).padStart(10)}`);
} finally {
  await browser.Stop();
}
