// The web page in Debian's Chromium, headless: the core's worksheets byte for
// byte against the native build, what the buttons show, printing to PDF read
// back with pdftotext, saved files opened by LibreOffice, edits, settings
// across reloads, offline use, the keyboard alone, and no request leaving
// the page's origin.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import giftParser from 'gift-pegjs';
import { SITE, StartBrowser } from './browser.mjs';

const CORPUS = process.env.FICHE_WEB_CORPUS ??
  new URL('../../build/web/native/corpus.txt', import.meta.url).pathname;
// The settings table written by the native build of the core (web/test.sh).
const NATIVE_TABLE = new URL('../../build/web/native/settings-table.js', import.meta.url).pathname;
// The settings of the native corpus program, typed as a teacher would.
const TITLE_SHOWN = 'Nom : Prénom : Classe : 5° }}}} {\\*\\x}';
const CORPUS_TEXTS = { TitleLine: 'Nom : <b>Prénom</b> : Classe : 5° }}}} {\\*\\x}',
  InstructionText: 'Convertissez en ', SeparatorLine: '- — - C:\\dossier {bonus}' };
// Two questions, each with a table: three heading cells over six digit cells.
const TABLES_RTF = new URL('conversion-tables.rtf', import.meta.url).pathname;
const KINDS = ['btnLong', 'btnSurf', 'btnVol', 'btnCapa', 'btnMasse'];

// Records of the native corpus: settings line, base name, subject, answer key.
function ReadCorpus() {
  const lines = readFileSync(CORPUS, 'latin1').split('\n');
  const records = [];
  for (let i = 0; i + 3 < lines.length; i += 4) {
    const [kind, level, comma, seed, questions, spacing, separator, tables, twoUnits] =
      lines[i].split(' ').map(Number);
    records.push({ kind, seed, settings: { Level: level, QuestionCount: questions,
      LineSpacing: spacing, SeparatorShown: separator === 1, DecimalComma: comma === 1,
      ConversionTables: tables === 1, TwoUnitMeasures: twoUnits === 1, ...CORPUS_TEXTS }, text: lines.slice(i, i + 4).join('\n') + '\n' });
  }
  return records;
}

function Run(program, args, options = {}) {
  return execFileSync(program, args, { encoding: 'utf8', ...options });
}

// Sets the page's controls as a teacher would leave them, then seeds the
// page's random source.
async function Prepare(page, settings, seed) {
  await page.evaluate(async ([s, seedValue]) => {
    const set = (id, value) => {
      const control = document.getElementById(id);
      if (typeof value === 'boolean') control.checked = value;
      else control.value = value;
      control.dispatchEvent(new Event(typeof value === 'boolean' ? 'change' : 'input'));
    };
    set('trbNiveau', s.Level);
    set('spMaxLigne', s.QuestionCount);
    set('spinterligne', s.LineSpacing);
    set('eTitre1', s.TitleLine);
    set('Combo1', s.InstructionText);
    set('CheckBox1', s.SeparatorShown);
    set('eSepar', s.SeparatorLine);
    set('ckbVirgule', s.DecimalComma);
    set('ckbTableau', Boolean(s.ConversionTables));
    set('ckbDeuxUnites', Boolean(s.TwoUnitMeasures));
    await (await import('/app.js')).SeedPage(seedValue);
  }, [settings, seed]);
}

// The browser's own print of the page, as Ctrl+P gives it, with no press of
// "Imprimer".
async function Pdf(page, folder, name) {
  const path = join(folder, name);
  await page.pdf({ path, preferCSSPageSize: true });
  return path;
}

// LibreOffice's plain text of RTF files, converted in one run.
function LibreOfficeText(folder, files) {
  Run('libreoffice', ['--headless', `-env:UserInstallation=file://${folder}/lo-profile`,
    '--convert-to', 'txt:Text (encoded):UTF8', '--outdir', join(folder, 'txt'),
    ...files.map((f) => join(folder, f))], { stdio: 'pipe' });
  return files.map((f) =>
    readFileSync(join(folder, 'txt', f.replace(/\.rtf$/, '.txt')), 'utf8').replace(/^\ufeff/, ''));
}

describe('web page', () => {
  let browser;
  const folder = mkdtempSync(join(tmpdir(), 'fiche-web-'));
  before(async () => {
    browser = await StartBrowser();
  });
  after(async () => {
    await browser.Stop();
  });

  test('a fresh page shows the settings table of the core that the desktop is built with', async () => {
    const site = join(SITE, 'settings-table.js');
    assert.equal(readFileSync(site, 'utf8'), readFileSync(NATIVE_TABLE, 'utf8'));
    const { ROWS } = await import(pathToFileURL(site));
    assert.match(ROWS.find((row) => row.key === 'eTitre1_Text').value, /^Nom : +Prénom : +Classe :$/);
    const page = await browser.NewPage();
    const shown = await page.evaluate((rows) => rows.map((row) => {
      const control =
        document.getElementById(row.type === 'list' ? `${row.control}List` : row.control);
      if (row.type === 'integer') {
        const [min, max, value] = [control.min, control.max, control.value].map(Number);
        return { ...row, min, max, value };
      }
      if (row.type === 'boolean') return { ...row, value: control.checked };
      if (row.type === 'list') return { ...row, value: [...control.options].map((o) => o.value) };
      return { ...row, limit: control.maxLength, value: control.value };
    }), ROWS);
    // A text comes back without the blanks at its ends, as the desktop's does.
    const trimmed = (row) => (row.type === 'text' ? { ...row, value: row.value.trim() } : row);
    assert.deepEqual(shown, ROWS.map(trimmed));
  });

  test('the WebAssembly core writes the native corpus byte for byte (every kind, level, mark)', async () => {
    const records = ReadCorpus();
    assert.equal(records.length, 6 * 3 * 2 * 12);
    const page = await browser.NewPage();
    const written = await page.evaluate(async (cases) => {
      const { LoadCore, Seed, Generate } = await import('/core.js');
      const core = await LoadCore();
      // In pieces: a document with tables holds more bytes than a call takes arguments.
      const latin1 = (bytes) => {
        let text = '';
        for (let at = 0; at < bytes.length; at += 8192) {
          text += String.fromCharCode(...bytes.slice(at, at + 8192));
        }
        return text;
      };
      let all = '';
      for (const { kind, seed, settings } of cases) {
        Seed(core, seed);
        const sheet = Generate(core, kind, settings);
        const header = [kind, settings.Level, settings.DecimalComma ? 1 : 0, seed,
          settings.QuestionCount, settings.LineSpacing, settings.SeparatorShown ? 1 : 0,
          settings.ConversionTables ? 1 : 0, settings.TwoUnitMeasures ? 1 : 0];
        all += `${header.join(' ')}\n${latin1(sheet.name)}\n${latin1(sheet.subject)}\n` +
          `${latin1(sheet.answerKey)}\n`;
      }
      return all;
    }, records.map(({ kind, seed, settings }) => ({ kind, seed, settings })));
    const expected = records.map((r) => r.text).join('');
    assert.ok(written === expected, 'the page core differs from the native one');
  });

  test('a code makes the native worksheet byte for byte: every kind, level and mark × 200 codes', async () => {
    const lines = readFileSync(`${CORPUS}.codes`, 'latin1').trimEnd().split('\n');
    assert.equal(lines.length, 6 * 3 * 2 * 200);
    const page = await browser.NewPage();
    const written = await page.evaluate(async ([cases, texts]) => {
      const { LoadCore, GenerateOfCode } = await import('/core.js');
      const core = await LoadCore();
      // FNV-1a, as the native corpus program digests the documents.
      const digest = (bytes) => {
        let hash = 2166136261;
        for (const byte of bytes) hash = Math.imul(hash ^ byte, 16777619) >>> 0;
        return hash.toString(16).padStart(8, '0');
      };
      return cases.map((line) => {
        const [kind, level, comma, twoUnits, questions, spacing, separator, tables, code, shown] =
          line.split(' ');
        const settings = { ...texts, Level: Number(level), QuestionCount: Number(questions),
          LineSpacing: Number(spacing), SeparatorShown: separator === '1',
          DecimalComma: comma === '1', ConversionTables: tables === '1',
          TwoUnitMeasures: twoUnits === '1' };
        // The code typed in lower case, with its confusable letters.
        const typed = code.toLowerCase().replaceAll('0', 'o').replaceAll('1', 'l');
        const sheet = GenerateOfCode(core, Number(kind), settings, typed, shown === '1');
        return `${line.split(' ').slice(0, 10).join(' ')} ${digest(sheet.subject)} ` +
          `${digest(sheet.answerKey)}`;
      });
    }, [lines, CORPUS_TEXTS]);
    const differing = written.filter((line, i) => line !== lines[i]);
    assert.deepEqual(differing, [], 'the page core makes other sheets of these codes');
  });

  test('the page reads RTF with the desktop\'s reader: worksheets and the fuzzing corpus give the same documents', async () => {
    const fuzz = ['corpus', 'regressions'].map((set) => new URL(`../fuzz/${set}/rtf/`, import.meta.url).pathname)
      .flatMap((rtf) => readdirSync(rtf).sort().map((name) => readFileSync(join(rtf, name), 'latin1')));
    const inputs = [...ReadCorpus().flatMap((r) => r.text.split('\n').slice(2, 4)), ...fuzz,
      readFileSync(TABLES_RTF, 'latin1')];
    const models = readFileSync(join(CORPUS, '..', 'models.bin'));
    const native = [];
    for (let at = 4, bytes; at < models.length; at += 4 + bytes) {
      bytes = 2 * models.readUInt32LE(at);
      native.push(createHash('sha256').update(models.subarray(at + 4, at + 4 + bytes)).digest('hex'));
    }
    const page = await browser.NewPage();
    const read = await page.evaluate(async (texts) => {
      const { LoadCore, ReadDocumentUnits } = await import('/core.js');
      const { DecodeDocument, EncodeDocument } = await import('/document-model.js');
      const core = await LoadCore();
      const hex = async (units) => [...new Uint8Array(await crypto.subtle.digest('SHA-256', units))]
        .map((b) => b.toString(16).padStart(2, '0')).join('');
      // The page's own decoding and encoding give back the units they were given.
      const both = async (units) => [await hex(units), await hex(EncodeDocument(DecodeDocument(units)))];
      return Promise.all(texts.map((text) => both(ReadDocumentUnits(core, Uint8Array.from(text, (c) => c.charCodeAt(0))))));
    }, inputs);
    assert.deepEqual(read, native.map((hash) => [hash, hash]));
  });

  test('each kind button shows both documents: heading, bold instruction, answers on yellow', async () => {
    const page = await browser.NewPage();
    const records = ReadCorpus().filter((r) => r.settings.Level === 3 && r.settings.DecimalComma);
    for (const [kind, id] of KINDS.entries()) {
      const record = records.find((r) => r.kind === kind);
      await Prepare(page, record.settings, record.seed);
      assert.equal(await page.getAttribute('#Shape1', 'class'), 'light red');
      await page.click(`#${id}`);
      // Read the panes as the teacher sees them: after the page has been
      // rendered once (lines out of view are laid out lazily).
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      const shown = await page.evaluate(() => {
        const pane = (id) => document.getElementById(id);
        const spans = (id, test) => [...pane(id).querySelectorAll('span')]
          .filter((s) => test(getComputedStyle(s))).map((s) => s.textContent);
        return {
          subject: pane('RxE1').innerText,
          bold: spans('RxE1', (s) => s.fontWeight === '700'),
          underlined: spans('RxE1', (s) => s.textDecorationLine === 'underline'),
          // Each answer: a run of yellow spans (the unit's power is a span of its own).
          answers: [...pane('RxE2').querySelectorAll('span')].reduce((found, span) => {
            const yellow = (s) => s?.nodeType === 1 && getComputedStyle(s).backgroundColor === 'rgb(255, 255, 0)';
            if (!yellow(span)) return found;
            if (yellow(span.previousSibling)) found[found.length - 1] += span.textContent;
            else found.push(span.textContent);
            return found;
          }, []),
          light: pane('Shape1').className,
          buttons: [pane('btnImprime').disabled, pane('btnEnregistre').disabled],
        };
      });
      const name = record.text.split('\n')[1];
      assert.ok(shown.subject.startsWith(`${name} - ${TITLE_SHOWN}\n`), shown.subject);
      assert.deepEqual(shown.bold.slice(0, 2), ['Prénom', 'Convertissez en  ' +
        shown.bold[1].slice('Convertissez en  '.length)]);
      assert.ok(shown.underlined.join('').includes('Nom : Prénom : Classe : 5°'));
      assert.equal(shown.answers.length, 2 * record.settings.QuestionCount);
      assert.ok(shown.answers.every((a) => /^[\d ]+(,\d[\d ]*)? [a-zA-Z]+[23]?$/.test(a)),
        shown.answers.join('/'));
      assert.equal(shown.subject.split('\n').filter((l) => /^\s*\d+°\/ /.test(l)).length,
        record.settings.QuestionCount);
      assert.equal(shown.light, 'light green');
      assert.deepEqual(shown.buttons, [false, false]);
    }
  });

  test('printing: subject copies then answer keys, each from a new A4 page, no question line wrapped', async () => {
    const page = await browser.NewPage();
    // Before any worksheet, the print says what to do rather than nothing.
    assert.match(Run('pdftotext', [await Pdf(page, folder, 'empty.pdf'), '-']), /^Aucune fiche à imprimer/);
    for (const [kind, id] of KINDS.entries()) {
      await Prepare(page, { Level: 3, QuestionCount: 40, LineSpacing: 1, SeparatorShown: true,
        DecimalComma: kind % 2 === 1, ...CORPUS_TEXTS }, 4242 + kind);
      await page.fill('#spSujets', '2');
      await page.fill('#spCorriges', '1');
      await page.click(`#${id}`);
      const path = await Pdf(page, folder, `${id}.pdf`);
      const info = Run('pdfinfo', [path]);
      assert.match(info, /Page size:\s+59[45]\.\d+ x 841\.\d+ pts \(A4\)/);
      const pages = Run('pdftotext', ['-layout', path, '-']).split('\f').filter((p) => p.trim());
      const starts = pages.map((p) => p.trimStart().split('\n')[0]);
      const name = starts[0].split(' ')[0];
      const firsts = starts.map((s, i) => [s.startsWith(`${name} - Nom`) ? 'S'
        : s.startsWith(`${name} - Corrigé`) ? 'C' : '-', i]).filter(([c]) => c !== '-');
      const order = firsts.map(([c]) => c).join('');
      assert.equal(order, 'SSC', `copies in order, each from its own page (${starts})`);
      // In the subject, each question's line holds both its exercises.
      const subject = pages.slice(0, firsts[1][1]).join('\n');
      const questions = subject.split('\n').filter((l) => /^\s*\d+°\/ /.test(l));
      assert.equal(questions.length, 40);
      for (const line of questions) assert.equal(line.split('=').length, 3, line);
      // The right exercises stand in one column, 6 inches from the text's left edge.
      const words = Run('pdftotext', ['-bbox', '-f', '1', '-l', String(firsts[1][1]), path, '-']);
      const lines = new Map();
      words.split('<page').forEach((pageWords, number) => {
        for (const [, x, y, word] of pageWords.matchAll(/xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</g)) {
          const key = `${number}:${y}`;
          if (!lines.has(key)) lines.set(key, []);
          lines.get(key).push({ x: Number(x), word });
        }
      });
      const rights = [...lines.values()].filter((l) => /^\d+°\/$/.test(l[0].word))
        .map((l) => Math.min(...l.filter((w) => w.x > 250).map((w) => w.x)));
      assert.equal(rights.length, 40);
      const edge = 5 / 25.4 * 72;  // the page's 5 mm margin, in points
      for (const x of rights) assert.ok(Math.abs(x - (edge + 432)) < 1, `right exercise at ${x} pt`);
    }
  });

  test('saving downloads the subject and the answer key as RTF that LibreOffice reads like the core\'s documents', async () => {
    const page = await browser.NewPage();
    const records = ReadCorpus().filter((r) => r.settings.Level === 2 && !r.settings.DecimalComma);
    const files = [];
    for (const [kind, id] of KINDS.entries()) {
      const record = records.find((r) => r.kind === kind);
      await Prepare(page, record.settings, record.seed);
      await page.click(`#${id}`);
      const downloads = [];
      page.on('download', (d) => downloads.push(d));
      await page.click('#btnEnregistre');
      await page.waitForTimeout(300);
      page.removeAllListeners('download');
      const [name, subject, answerKey] = record.text.split('\n').slice(1, 4);
      assert.deepEqual(downloads.map((d) => d.suggestedFilename()), [`${name}.rtf`, `${name}_Cor.rtf`]);
      for (const download of downloads) {
        await download.saveAs(join(folder, download.suggestedFilename()));
        const saved = readFileSync(join(folder, download.suggestedFilename()), 'latin1');
        assert.match(saved, /\\paperw11906\\paperh16838\\margl283\\margr283\\margt283\\margb283/);
      }
      writeFileSync(join(folder, `core-${name}.rtf`), subject, 'latin1');
      writeFileSync(join(folder, `core-${name}_Cor.rtf`), answerKey, 'latin1');
      files.push(`${name}.rtf`, `${name}_Cor.rtf`, `core-${name}.rtf`, `core-${name}_Cor.rtf`);
    }
    const texts = LibreOfficeText(folder, files);
    for (let i = 0; i < texts.length; i += 4) {
      assert.ok(texts[i].includes(TITLE_SHOWN), texts[i]);
      assert.equal(texts[i], texts[i + 2], files[i]);
      assert.equal(texts[i + 1], texts[i + 3], files[i + 1]);
    }
    // Format as LibreOffice sees it (its flat document keeps the highlight):
    // bold, underline and superscripts in the subject, yellow in the answer key.
    Run('libreoffice', ['--headless', `-env:UserInstallation=file://${folder}/lo-profile`,
      '--convert-to', 'fodt', '--outdir', join(folder, 'fodt'), join(folder, files[4]),
      join(folder, files[5])], { stdio: 'pipe' });
    const [subject, answerKey] = readdirSync(join(folder, 'fodt')).sort()
      .map((f) => readFileSync(join(folder, 'fodt', f), 'utf8'));
    for (const format of ['fo:font-weight="bold"', 'style:text-underline-style="solid"',
      'style:text-position="super']) {
      assert.ok(subject.includes(format), format);
    }
    assert.ok(answerKey.includes('fo:background-color="#ffff00"'));
    assert.ok(answerKey.includes('style:text-position="super'));
  });

  test('"Exporter pour Moodle" downloads a GIFT file that gift-pegjs reads: an exact question per blank, each the answer key\'s', async () => {
    const page = await browser.NewPage();
    const categories = ['Longueurs', 'Surfaces', 'Volumes', 'Capacités', 'Masses', 'Durées'];
    const records = ReadCorpus();
    let blanksOfSeveral = 0;
    let gift = '';
    for (const [kind, id] of [...KINDS, 'btnDuree'].entries()) {
      for (const level of [1, 2, 3]) {
        for (const twoUnits of [false, true]) {
          const record = records.find((r) => r.kind === kind && r.settings.Level === level &&
            r.settings.TwoUnitMeasures === twoUnits && r.settings.DecimalComma === (level !== 2));
          await Prepare(page, record.settings, record.seed);
          await page.click(`#${id}`);
          const [download] = await Promise.all([page.waitForEvent('download'), page.click('#btnMoodle')]);
          const [name, , answerKey] = record.text.split('\n').slice(1, 4);
          assert.equal(download.suggestedFilename(), `${name}.gift`);
          gift = readFileSync(await download.path(), 'utf8');
          const [category, ...questions] = giftParser.parse(gift);
          assert.deepEqual(category, { type: 'Category', title: `fiches-conversions/${categories[kind]}/Niveau ${level}` });
          // The key's answers, each a list of numbers: runs of words that start with a digit.
          const expected = [...answerKey.matchAll(/\\highlight[1-9]\d* (.*?)\\highlight0/g)].map(([, rtf]) =>
            rtf.replace(/\\[a-z]+\d* ?/g, '').split(' ').reduce((numbers, word, i, words) => {
              if (/^\d/.test(word)) {
                if (i > 0 && /^\d/.test(words[i - 1])) numbers[numbers.length - 1] += word;
                else numbers.push(word);
              }
              return numbers;
            }, []).map((n) => Number(n.replace(',', '.'))));
          assert.equal(expected.length, 2 * record.settings.QuestionCount);
          const code = await page.inputValue('#eCode');
          assert.match(code, /^[0-9A-HJKMNP-TV-Z]{5}$/);
          const titles = expected.flatMap((parts, i) => parts.map((_, k) =>
            `${name} ${code} ${Math.floor(i / 2) + 1}${'ab'[i % 2]}${parts.length > 1 ? `.${k + 1}` : ''}`));
          assert.deepEqual(questions.map((q) => q.title), titles);
          assert.deepEqual(questions.map((q) => [q.type, q.choices.number, q.choices.range]),
            expected.flat().map((n) => ['Numerical', n, 0]), name);
          for (const { stem } of questions) {
            assert.equal(stem.format, 'html');
            assert.match(stem.text, /^<p>(.*)<\/p><p>[^?]* = [^?]*\?[^?]*<\/p>$/);
            assert.ok(stem.text.startsWith(`<p>${TITLE_SHOWN}</p>`), stem.text);
          }
          blanksOfSeveral += expected.filter((parts) => parts.length > 1).length;
        }
      }
    }
    assert.ok(blanksOfSeveral > 0);
    // The page keeps the last file over a reload, as it keeps the documents.
    await page.reload();
    const [again] = await Promise.all([page.waitForEvent('download'), page.click('#btnMoodle')]);
    assert.equal(readFileSync(await again.path(), 'utf8'), gift);
  });

  test('edits are printed, saved and kept over a reload; a new worksheet replaces them', async () => {
    const page = await browser.NewPage();
    await page.click('#btnVol');
    await page.check('#ckbEdite');
    await page.click('#RxE1 p:first-child span');
    await page.keyboard.press('Home');
    await page.keyboard.type('Contrôle du lundi ');
    await page.keyboard.press('Shift+Home');
    await page.keyboard.press('Control+b');
    await page.keyboard.press('End');
    await page.click('#RxE2 p:last-child');
    await page.keyboard.press('Control+End');
    await page.keyboard.press('Shift+ArrowUp');
    await page.keyboard.press('Shift+Home');
    await page.keyboard.press('Delete');
    const before = await page.$eval('#RxE2', (p) => p.innerText);
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    assert.ok(await page.isChecked('#ckbEdite'));
    const subject = await page.$eval('#RxE1', (p) => p.innerText);
    assert.ok(subject.startsWith('Contrôle du lundi Vol_N'), subject.slice(0, 60));
    assert.equal(await page.$eval('#RxE2', (p) => p.innerText), before);
    const downloads = [];
    page.on('download', (d) => downloads.push(d));
    await page.click('#btnEnregistre');
    await page.waitForTimeout(300);
    await downloads[0].saveAs(join(folder, 'edited.rtf'));
    assert.match(readFileSync(join(folder, 'edited.rtf'), 'latin1'), /\\b Contr\\'f4le du lundi \\b0 Vol_N/);
    const path = await Pdf(page, folder, 'edited.pdf');
    assert.match(Run('pdftotext', ['-layout', path, '-']), /Contrôle du lundi Vol_N/);
    await page.click('#btnLong');
    assert.match(await page.$eval('#RxE1', (p) => p.innerText), /^Long_N/);
  });

  test('conversion tables: drawn on their rows\' grid, edited, saved and reopened with every cell, printed whole', async () => {
    const page = await browser.NewPage();
    // An RTF text's blocks as the page's core reads them; with `show`, in both panes (`times` over).
    const read = (rtf, show = false, times = 1) => page.evaluate(async ([text, panes, repeat]) => {
      const [{ LoadCore, ReadDocument }, { DocumentHtml }] = await Promise.all([import('/core.js'), import('/document-html.js')]);
      const read = ReadDocument(await LoadCore(), Uint8Array.from(text, (c) => c.charCodeAt(0)));
      read.blocks = Array(repeat).fill(read.blocks).flat();
      for (const pane of panes ? document.querySelectorAll('.pane') : []) {
        pane.innerHTML = DocumentHtml(read);
        pane.dispatchEvent(new Event('input'));
      }
      return read.blocks;
    }, [rtf, show, times]);
    const texts = (paragraphs) => paragraphs.map((p) => p.runs.map((r) => r.text).join('')).join('\n');
    const outline = (blocks) => blocks.map((b) => (b.paragraph ? [b.paragraph.keepWithNext, texts([b.paragraph])]
      : b.table.map((row) => [row.gapTwips, row.keepTogether, ...row.cells.map((c) =>
        [c.rightTwips, c.bordered, c.paragraphs.every((p) => p.centred && p.keepWithNext), texts(c.paragraphs)])])));
    const downloads = [];
    page.on('download', (d) => downloads.push(d));
    const save = () => page.click('#btnEnregistre').then(() => page.waitForTimeout(300)).then(() =>
      Promise.all(downloads.splice(0).map(async (d) => readFileSync(await d.path(), 'latin1'))));
    const original = outline(await read(readFileSync(TABLES_RTF, 'latin1'), true));
    // Each heading cell stands over two digit cells 567 twips wide, in thin black lines.
    assert.deepEqual(await page.$$eval('#RxE2 > div:first-of-type td', (cells) => cells.map((cell) =>
      [Math.round(cell.getBoundingClientRect().left * 15 - cells[0].getBoundingClientRect().left * 15),
        getComputedStyle(cell).borderTop])), [0, 1134, 2268, 0, 567, 1134, 1701, 2268, 2835]
      .map((x) => [x, '1px solid rgb(0, 0, 0)']));
    await page.check('#ckbEdite');
    await page.click('#RxE2 > div:first-of-type tr:nth-child(2) td:nth-child(5) p');
    await page.keyboard.type('0');
    const [, answerKey] = await save();
    original[2][1][6][3] = '0';
    assert.deepEqual(outline(await read(answerKey)), original);
    // Reopened, the saved file shows and saves again the same.
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    assert.equal(await page.textContent('#RxE2 > div:first-of-type tr:nth-child(2) td:nth-child(5)'), '0');
    await read(answerKey, true);
    assert.deepEqual(await save(), [answerKey, answerKey]);
    // A table broken in edit mode is saved as it is shown: one row, its first cell gone.
    await page.$eval('#RxE2 > div:last-of-type table', (table) => table.rows[0].remove() ?? table.rows[0].cells[0].remove());
    assert.deepEqual(outline(await read((await save())[1]))[5].map((row) => row.slice(2).map((c) => [c[0], c[3]])),
      [[[567, ''], [1134, ''], [1701, '0'], [2268, '1'], [2835, '2']]]);
    // From a phone to a laptop the page never scrolls sideways; the tables keep their width
    for (const width of [360, 768, 1366]) {
      await page.setViewportSize({ width, height: 800 });
      assert.deepEqual(await page.evaluate(() => [document.documentElement.scrollWidth <= innerWidth,
        document.querySelector('#RxE2 table').offsetWidth]), [true, Math.round(3402 / 15 + 1)]);  // and the outer halves of the lines
      await page.screenshot({ path: join(folder, `tables-${width}.png`) });
    }
    // Printed, each page holds whole questions with both rows of their tables.
    await read(readFileSync(TABLES_RTF, 'latin1'), true, 15);
    const pages = Run('pdftotext', ['-layout', await Pdf(page, folder, 'tables.pdf'), '-']).split('\f');
    assert.ok(pages.length > 3);
    for (const text of pages) {
      const [questions, ...rows] = [/°\//, /m²\s+dm²\s+cm²/, /^\s*(\d\s+){2}\d\s*$/].map((p) => text.split('\n').filter((l) => p.test(l)).length);
      assert.deepEqual(rows, [questions, questions], text);
    }
    // The "Tableau de conversion" and "Deux unités" boxes are kept and reach the core, as "Durées" does.
    await page.evaluate(async () => {
      const core = await (await import('/core.js')).LoadCore();
      const generate = core._FicheGenerate;
      core._FicheGenerate = (kind, at, length) => generate(kind, at, length, window.lines =
        [...String.fromCharCode(...core.HEAPU8.subarray(at, at + length)).split('\n'), ...['ckbTableau', 'ckbDeuxUnites'].map((id) => localStorage.getItem(`TForm1/${id}_Checked`))].join());
    });
    await page.check('#ckbTableau');
    await page.check('#ckbDeuxUnites');
    await page.click('#btnDuree');
    assert.match(await page.evaluate(() => window.lines), /,ckbTableau_Checked=True,(.*,)?ckbDeuxUnites_Checked=True,(.*,)?True,True$/);
    assert.match(await page.textContent('#RxE1'), /^Duree_N/);
  });

  test('settings are kept in the browser under the settings file\'s keys, read back by its rules', async () => {
    const page = await browser.NewPage();
    await page.fill('#spMaxLigne', '40');
    await page.dispatchEvent('#spMaxLigne', 'input');
    await page.fill('#eTitre1', '  "Classe de 6e"  ');
    await page.dispatchEvent('#eTitre1', 'input');
    await page.uncheck('#CheckBox1');
    await page.check('#ckbVirgule');
    await page.dispatchEvent('#ckbVirgule', 'input');
    const stored = await page.evaluate(() => ({ ...localStorage }));
    assert.equal(stored['TForm1/spMaxLigne_Value'], '40');
    assert.equal(stored['TForm1/eTitre1_Text'], '""Classe de 6e""');
    assert.equal(stored['TForm1/CheckBox1_Checked'], 'False');
    assert.equal(stored['TForm1/ckbVirgule_Checked'], 'True');
    assert.equal(stored['TForm1/Combo1_Text'], 'Convertir en');
    assert.equal(stored['TForm1.Combo1_Items/Count'], '4');
    // Values a hand or an older page left, read as the desktop reads its file.
    const cases = [
      ['TForm1/spMaxLigne_Value', 'douze', '#spMaxLigne', '1'],
      ['TForm1/spinterligne_Value', '99', '#spinterligne', '10'],
      ['TForm1/trbNiveau_Position', '7', '#trbNiveau', '3'],
      ['TForm1/eSepar_Text', "' = '", '#eSepar', '='],
      ['TForm1/Combo1_Text', 'c'.repeat(3000), '#Combo1', 'c'.repeat(2047)],
    ];
    await page.evaluate((rows) => {
      for (const [key, value] of rows) localStorage.setItem(key, value);
      localStorage.setItem('TForm1/CheckBox1_Checked', 'true');
      localStorage.setItem('TForm1/ckbVirgule_Checked', 'non');
    }, cases);
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    for (const [, , control, value] of cases) assert.equal(await page.inputValue(control), value);
    assert.equal(await page.inputValue('#eTitre1'), '"Classe de 6e"');
    assert.ok(await page.isChecked('#CheckBox1'));
    assert.ok(await page.isChecked('#ckbVirgule'));  // "non" leaves the page's default, ticked
    // A text cut to its limit, on reload or as it is typed, is said at once.
    assert.match(await page.textContent('#message'), /^Consigne : 2047 caractères au plus/);
    await page.fill('#eTitre1', 'x'.repeat(160));
    await page.type('#eTitre1', 'y');
    assert.equal(await page.inputValue('#eTitre1'), 'x'.repeat(160));
    assert.match(await page.textContent('#message'), /^Titre : 160 caractères au plus/);
    assert.equal(await page.textContent('#Label10'), '(1)');
    assert.equal(await page.getAttribute('#trbNiveau', 'title'), 'Niveau 3');
    // The list: an added entry, an entry removed, both kept.
    await page.click('#btnNouvTexte');
    await page.fill('#NouveauTexteSaisie', 'Exprimer en ');
    await page.click('#NouveauTexte button[value="ok"]');
    // The box's close event, which takes the text, comes as a task of its own:
    // wait for it (a page that never takes the text fails on the timeout).
    await page.waitForFunction(() => document.getElementById('Combo1').value === 'Exprimer en ',
      null, { timeout: 5000 });
    await page.selectOption('#Combo1List', { index: 1 });
    await page.click('#btnEffaceTexte');
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    assert.deepEqual(await page.$$eval('#Combo1List option', (o) => o.map((x) => x.value)),
      ['Convertir en', 'Convertissez en', '', 'Exprimer en']);  // blanks dropped as the desktop reads
    // A full storage is said in French; the page goes on with what it shows.
    await page.evaluate(() => {
      Storage.prototype.setItem = () => {
        throw new DOMException('full', 'QuotaExceededError');
      };
    });
    await page.click('#btnLong');
    assert.match(await page.textContent('#message'), /^Impossible d'enregistrer dans le navigateur/);
    assert.match(await page.$eval('#RxE1', (p) => p.innerText), /^Long_N3_/);
  });

  test('after its first visit the page reloads and generates offline', async () => {
    const page = await browser.NewPage();
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((done) => navigator.serviceWorker.addEventListener('controllerchange', done));
      }
    });
    await page.context().setOffline(true);
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    await page.click('#btnCapa');
    assert.match(await page.$eval('#RxE2', (p) => p.innerText), /^Capa_N1_\d+_\d+ - Corrigé/);
  });

  test('the keyboard alone reaches a kind button and makes a worksheet', async () => {
    const page = await browser.NewPage();
    await page.focus('#trbNiveau');
    await page.keyboard.press('ArrowRight');
    for (let i = 0; i < 40; i++) {
      if (await page.evaluate(() => document.activeElement.id) === 'btnMasse') break;
      await page.keyboard.press('Tab');
    }
    assert.equal(await page.evaluate(() => document.activeElement.id), 'btnMasse');
    await page.keyboard.press('Enter');
    assert.match(await page.$eval('#RxE1', (p) => p.innerText), /^Masse?_N2_/);
    // The number boxes take typed numbers and arrows, within their limits.
    await page.fill('#spMaxLigne', '');
    await page.type('#spMaxLigne', '400');
    assert.equal(await page.textContent('#message'), 'Nombre de questions : de 1 à 40 ; 40 est retenu.');
    await page.keyboard.press('ArrowDown');
    await page.fill('#spinterligne', '');
    await page.keyboard.press('Tab');
    assert.deepEqual([await page.inputValue('#spMaxLigne'), await page.inputValue('#spinterligne')],
      ['39', '0']);
    assert.equal(await page.evaluate(() => localStorage.getItem('TForm1/spMaxLigne_Value')), '39');
  });

  test('two tabs: settings, a worksheet and an edit made in one show in the other, and stay over a reload', async () => {
    const first = await browser.NewPage();
    const second = await first.context().newPage();
    await second.goto(first.url());
    await second.waitForSelector('html[data-ready="true"]');
    const shows = (page, id, start) => page.waitForFunction(([i, v]) => {
      const shown = document.getElementById(i);
      return (shown.value ?? shown.textContent).startsWith(v);
    }, [id, start]);
    await first.fill('#eTitre1', 'Contrôle {2}');
    await shows(second, 'eTitre1', 'Contrôle {2}');
    await second.check('#ckbEdite');
    await second.click('#btnSurf');
    await shows(first, 'RxE1', await second.$eval('#RxE1', (p) => p.textContent));
    assert.match(await first.textContent('#message'), /dans un autre onglet/);
    await second.click('#RxE2 p:first-child span');
    await second.keyboard.press('Home');
    await second.keyboard.type('Relu : ');
    // An edit in the first tab, once the second's has reached it, keeps both.
    await shows(first, 'RxE2', 'Relu : Surf_N');
    await first.click('#RxE2 p:first-child span');
    await first.keyboard.press('End');
    await first.keyboard.type(' (fin)');
    await second.reload();
    await second.waitForSelector('html[data-ready="true"]');
    assert.match(await second.$eval('#RxE2', (p) => p.innerText), /^Relu : Surf_N.* \(fin\)\n/);
  });

  test('from a phone to a wide screen every control is within the width, readable and in reach', async () => {
    for (const [width, height] of [[360, 740], [390, 844], [768, 1024], [1024, 768], [1366, 768], [1920, 1080]]) {
      const page = await browser.NewPage({ viewport: { width, height } });
      await page.click('#btnCapa');
      const faults = await page.evaluate(() => {
        const found = [];
        if (document.documentElement.scrollWidth > innerWidth) found.push('the page scrolls sideways');
        const controls = '#window :is(input, select, button, a, .pane, label:not(.hidden-label), #Shape1)';
        for (const control of document.querySelectorAll(controls)) {
          control.scrollIntoView({ block: 'nearest', inline: 'nearest' });
          const box = control.getBoundingClientRect();
          const name = control.id || control.textContent;
          const out = Math.min(box.left, box.top) < -1 || box.right > innerWidth + 1 || box.bottom > innerHeight + 1;
          if (out) found.push(`${name} out of view`);  // within a pixel: scrolling stops on whole pixels
          if (parseFloat(getComputedStyle(control).fontSize) < 12) found.push(`${name} too small`);
        }
        // The documents keep the paper's width of text (A4 less 5 mm edges).
        const line = document.querySelector('#RxE1 p').getBoundingClientRect().width;
        if (Math.abs(line - 200 / 25.4 * 96) > 1) found.push(`lines ${line} px wide`);
        return found;
      });
      await page.screenshot({ path: join(folder, `page-${width}x${height}.png`) });
      assert.deepEqual(faults, [], `${width} × ${height}`);
    }
  });

  test('the page\'s files weigh at most 400 KB compressed, and no request left the page', async () => {
    const total = readdirSync(SITE).reduce((sum, file) =>
      sum + gzipSync(readFileSync(join(SITE, file)), { level: 9 }).length, 0);
    console.log(`page files: ${(total / 1024).toFixed(1)} KB compressed`);
    assert.ok(total <= 400 * 1024);
    // The pupil's view too, checked, with its correction shown.
    const pupil = await browser.NewPage();
    await pupil.goto(`${browser.origin}/?eleve=1&type=3&niveau=2&lignes=5&virgule=0&deuxunites=1&code=4K7QX`);
    await pupil.waitForSelector('html[data-ready="true"]');
    await pupil.click('#btnVerifier');
    await pupil.click('#btnCorrection');
    assert.equal(await pupil.textContent('#pupilScore'), 'Score : 0 / 10');
    assert.deepEqual(browser.outside, []);
  });
});
