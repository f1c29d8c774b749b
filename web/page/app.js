// The page's window: its settings controls and their reactions, the status
// light, generation into the two panes, edit mode, printing and saving, and
// what the browser keeps between visits (settings and the documents).
import { LoadCore, Seed, Generate } from './core.js';
import { FromBytes } from './cp1252.js';
import { ReadRtf, RenderHtml } from './rtf-read.js';
import { WriteRtf } from './rtf-write.js';
import * as Settings from './settings.js';
import { WatchForUpdates } from './update.js';

const WINDOW_TITLE = "Fiches de conversions d'unités";
const DOCUMENTS_KEY = 'Documents';
const STORAGE_FAILED = 'Impossible d\'enregistrer dans le navigateur (espace de stockage plein ou ' +
  'refusé) : les réglages et les feuilles ne seront pas gardés à la prochaine visite.';
const CORE_FAILED = 'Impossible de charger le module de calcul des fiches : rechargez la page.';
// The name of files saved before any generation (the desktop proposes ".rtf"
// alone, which a browser would save as a hidden file or rename).
const UNNAMED = 'Fiche';

const $ = (id) => document.getElementById(id);
const subjectPane = $('RxE1');
const answerPane = $('RxE2');
let core = null;
let defaultFileName = '';

function ShowMessage(text) {
  $('message').textContent = text;
}

function Store(write) {
  try {
    write(localStorage);
  } catch {
    ShowMessage(STORAGE_FAILED);
  }
}

// ---- Settings controls ----

function ReadControls() {
  const values = {};
  for (const setting of Settings.STORED) {
    const control = $(setting.id);
    if (setting.type === 'list') {
      values[setting.key] = [...control.options].map((option) => option.value);
    } else if (setting.type === 'boolean') {
      values[setting.key] = control.checked;
    } else if (setting.type === 'integer') {
      values[setting.key] = Number(control.value);
    } else {
      values[setting.key] = control.value;
    }
  }
  return values;
}

function FillList(entries) {
  const list = $('Combo1List');
  list.replaceChildren(...entries.map((entry) => new Option(entry, entry)));
  list.selectedIndex = -1;
}

function WriteControls(values) {
  for (const setting of Settings.STORED) {
    const control = $(setting.id);
    const value = values[setting.key];
    if (setting.type === 'list') FillList(value);
    else if (setting.type === 'boolean') control.checked = value;
    else control.value = value;
  }
}

function SaveSettings() {
  Store((storage) => Settings.Save(storage, ReadControls()));
}

function ReadWorksheetSettings() {
  return {
    Level: Number($('trbNiveau').value),
    QuestionCount: Number($('spMaxLigne').value),
    LineSpacing: Number($('spinterligne').value),
    TitleLine: $('eTitre1').value,
    InstructionText: $('Combo1').value,
    SeparatorShown: $('CheckBox1').checked,
    SeparatorLine: $('eSepar').value,
    DecimalComma: $('ckbVirgule').checked,
  };
}

function SetLight(green) {
  const light = $('Shape1');
  light.className = `light ${green ? 'green' : 'red'}`;
  light.setAttribute('aria-label', green ? 'Feuilles à jour des réglages'
    : 'Réglages modifiés : appuyez sur un bouton de fiche pour les appliquer');
}

// A changed question count, spacing, title, separator or instruction turns
// the light red unless the subject pane holds exactly one blank.
function SettingChanged() {
  if (subjectPane.textContent !== ' ') SetLight(false);
  $('Label10').textContent = `(${$('eSepar').value.length})`;
  SaveSettings();
}

function LevelChanged() {
  $('trbNiveau').title = `Niveau ${$('trbNiveau').value}`;
  SetLight(false);
  SaveSettings();
}

function SeparatorToggled() {
  $('eSepar').disabled = !$('CheckBox1').checked;
  SetLight(false);
  SaveSettings();
}

function EditModeChanged() {
  const editing = $('ckbEdite').checked;
  for (const pane of [subjectPane, answerPane]) {
    pane.contentEditable = editing ? 'true' : 'false';
    pane.setAttribute('aria-readonly', String(!editing));
  }
  SaveSettings();
}

// The derived state that follows restored values.
function FollowControls() {
  $('Label10').textContent = `(${$('eSepar').value.length})`;
  $('trbNiveau').title = `Niveau ${$('trbNiveau').value}`;
  $('eSepar').disabled = !$('CheckBox1').checked;
  const editing = $('ckbEdite').checked;
  for (const pane of [subjectPane, answerPane]) {
    pane.contentEditable = editing ? 'true' : 'false';
    pane.setAttribute('aria-readonly', String(!editing));
  }
}

// Spin boxes change by their arrows and the Up and Down keys only.
const SPIN_KEYS = new Set(['ArrowUp', 'ArrowDown', 'Tab', 'Shift', 'Enter', 'Escape']);
function GuardSpin(spin) {
  spin.addEventListener('keydown', (event) => {
    if (!SPIN_KEYS.has(event.key) && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
    }
  });
  for (const refused of ['paste', 'cut', 'drop']) {
    spin.addEventListener(refused, (event) => event.preventDefault());
  }
}

// ---- Documents ----

// Each copy of the last good text, so that a failing storage loses nothing
// that is on the page.
function StoreDocuments() {
  Store((storage) => storage.setItem(DOCUMENTS_KEY, JSON.stringify({
    name: defaultFileName, subject: subjectPane.innerHTML, answerKey: answerPane.innerHTML,
  })));
}

// The print and save buttons follow whether the subject holds any text.
function SubjectChanged() {
  const empty = subjectPane.textContent === '';
  $('btnImprime').disabled = empty;
  $('btnEnregistre').disabled = empty;
}

function ShowWorksheet(sheet) {
  defaultFileName = FromBytes(sheet.name);
  subjectPane.innerHTML = RenderHtml(ReadRtf(sheet.subject));
  answerPane.innerHTML = RenderHtml(ReadRtf(sheet.answerKey));
  subjectPane.scrollTop = 0;
  answerPane.scrollTop = 0;
  SubjectChanged();
}

function GenerateNow(kind) {
  SetLight(true);
  ShowWorksheet(Generate(core, kind, ReadWorksheetSettings()));
  StoreDocuments();
}

function GenerateWorksheet(kind) {
  if (core) {
    GenerateNow(kind);
  } else {
    LoadCore().then((loaded) => {
      core = loaded;
      GenerateNow(kind);
    }, () => ShowMessage(CORE_FAILED));
  }
}

// ---- Printing and saving ----

function LineCount(pane) {
  const lines = pane.innerText.split('\n');
  while (lines.length && lines[lines.length - 1] === '') lines.pop();
  return lines.length;
}

// The copies as the print shows them: every subject copy, then every answer
// key copy, each from a new page.
export function PreparePrint() {
  const area = $('printArea');
  area.replaceChildren();
  if (LineCount(subjectPane) < 1) return 0;
  const copies = [[subjectPane, Number($('spSujets').value)],
    [answerPane, Number($('spCorriges').value)]];
  for (const [pane, count] of copies) {
    for (let i = 0; i < count; i++) {
      const copy = document.createElement('div');
      copy.className = 'copy doc';
      copy.innerHTML = pane.innerHTML;
      area.append(copy);
    }
  }
  return area.childElementCount;
}

function Print() {
  if (PreparePrint() > 0) window.print();
}

function Download(bytes, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/rtf' }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

function SaveWorksheet() {
  const base = defaultFileName || UNNAMED;
  Download(WriteRtf(subjectPane), `${base}.rtf`);
  Download(WriteRtf(answerPane), `${base}_Cor.rtf`);
}

// ---- Instruction list ----

function Activate() {
  if (core) Seed(core, Date.now());
  document.title = WINDOW_TITLE;
  SetLight(true);
}

function AddInstruction() {
  const dialog = $('NouveauTexte');
  const input = $('NouveauTexteSaisie');
  input.value = '';
  dialog.returnValue = '';
  dialog.showModal();
  dialog.addEventListener('close', () => {
    const text = input.value;
    if (dialog.returnValue === 'ok' && text !== '') {
      const list = $('Combo1List');
      list.append(new Option(text, text));
      list.selectedIndex = list.options.length - 1;
      $('Combo1').value = text;
      SaveSettings();
    }
    Activate();  // the window takes the focus back, as after the desktop's input box
    $('btnNouvTexte').focus();
  }, { once: true });
}

function RemoveInstruction() {
  const list = $('Combo1List');
  if (list.selectedIndex >= 0) {
    list.remove(list.selectedIndex);
    list.selectedIndex = -1;
    SaveSettings();
  }
}

// ---- Start ----

// For the tests and the benchmark: the page's random source seeded as given.
export async function SeedPage(seed) {
  core ??= await LoadCore();
  Seed(core, seed);
}

function Start() {
  const defaults = Object.fromEntries(Settings.STORED.map((s) => [s.key, s.value]));
  WriteControls(defaults);
  let restored = defaults;
  try {
    restored = Settings.Restore(localStorage, defaults);
  } catch {
    ShowMessage(STORAGE_FAILED);
  }
  WriteControls(restored);
  FollowControls();
  try {
    const kept = JSON.parse(localStorage.getItem(DOCUMENTS_KEY) ?? 'null');
    if (kept) {
      defaultFileName = kept.name;
      subjectPane.innerHTML = kept.subject;
      answerPane.innerHTML = kept.answerKey;
      SubjectChanged();
    }
  } catch {
    ShowMessage(STORAGE_FAILED);
  }

  for (const id of ['spMaxLigne', 'spinterligne', 'spSujets', 'spCorriges']) GuardSpin($(id));
  for (const id of ['spMaxLigne', 'spinterligne', 'eTitre1', 'eSepar', 'Combo1', 'ckbVirgule']) {
    $(id).addEventListener('input', SettingChanged);
  }
  for (const id of ['spSujets', 'spCorriges']) $(id).addEventListener('input', SaveSettings);
  $('trbNiveau').addEventListener('input', LevelChanged);
  $('CheckBox1').addEventListener('change', SeparatorToggled);
  $('ckbEdite').addEventListener('change', EditModeChanged);
  $('Combo1List').addEventListener('change', () => {
    $('Combo1').value = $('Combo1List').value;
    SettingChanged();
  });
  $('btnNouvTexte').addEventListener('click', AddInstruction);
  $('btnEffaceTexte').addEventListener('click', RemoveInstruction);
  for (const button of document.querySelectorAll('button[data-kind]')) {
    button.addEventListener('click', () => GenerateWorksheet(Number(button.dataset.kind)));
  }
  $('btnImprime').addEventListener('click', Print);
  $('btnEnregistre').addEventListener('click', SaveWorksheet);
  for (const pane of [subjectPane, answerPane]) {
    pane.addEventListener('input', () => {
      if (pane === subjectPane) SubjectChanged();
      StoreDocuments();
    });
    // In edit mode Tab writes a tab, as in the desktop's panes; Escape hands
    // the focus back to the "Edite" box so that the keyboard can leave.
    pane.addEventListener('keydown', (event) => {
      if (pane.isContentEditable && event.key === 'Tab' && !event.shiftKey) {
        event.preventDefault();
        document.execCommand('insertText', false, '\t');
      } else if (event.key === 'Escape') {
        $('ckbEdite').focus();
      }
    });
  }
  document.execCommand('defaultParagraphSeparator', false, 'p');

  LoadCore().then((loaded) => {
    core = loaded;
    Activate();
    document.documentElement.dataset.ready = 'true';
  }, () => ShowMessage(CORE_FAILED));
  WatchForUpdates();
}

Start();
