// The page's window: its settings controls and their reactions, the status
// light, generation into the two panes, edit mode, printing and saving, and
// what the browser keeps between visits (settings and the documents).
import { LoadCore, Seed, Generate, GenerateOfCode, GiftFile, PupilLink, ReadDocument, WriteDocument }
  from './core.js';
import { FromBytes } from './cp1252.js';
import { DocumentHtml, PaneDocument } from './document-html.js';
import * as Settings from './settings.js';
import { WORKSHEET_KEYS } from './settings-table.js';
import { WatchForUpdates } from './update.js';

const WINDOW_TITLE = "Fiches de conversions d'unités";
const DOCUMENTS_KEY = 'Documents';
const STORAGE_FAILED = 'Impossible d\'enregistrer dans le navigateur (espace de stockage plein ou ' +
  'refusé) : les réglages et les feuilles ne seront pas gardés à la prochaine visite.';
const CORE_FAILED = 'Impossible de charger le module de calcul des fiches : rechargez la page.';
const OUT_OF_RANGE = (setting, value) =>
  `${setting.label} : de ${setting.min} à ${setting.max} ; ${value} est retenu.`;
const TOO_LONG = (setting) =>
  `${setting.label} : ${setting.limit} caractères au plus ; la suite n'est pas gardée.`;
const FROM_OTHER_TAB = 'Les feuilles ont été changées dans un autre onglet de la page : ' +
  'elles sont affichées ici aussi.';
const NOTHING_TO_PRINT = 'Aucune fiche à imprimer : appuyez d\'abord sur Longueurs, Surfaces, ' +
  'Volumes, Capacités, Masses ou Durées.';
const NO_COPIES = 'Aucun exemplaire demandé : Sujets et Corrigés sont à 0.';
const UNKNOWN_CODE = 'Code inconnu : 5 lettres ou chiffres';
const COPY_LINK = 'Copier le lien';
const LINK_COPIED = 'Lien copié';
// The settings that make a worksheet: changing one turns the light red.
const GENERATION_SETTINGS = new Set(['spMaxLigne', 'spinterligne', 'eTitre1', 'eSepar', 'Combo1',
  'ckbVirgule', 'ckbTableau', 'ckbDeuxUnites', 'trbNiveau', 'CheckBox1']);
// The name of files saved before any generation (the desktop proposes ".rtf"
// alone, which a browser would save as a hidden file or rename).
const UNNAMED = 'Fiche';

const $ = (id) => document.getElementById(id);
const subjectPane = $('RxE1');
const answerPane = $('RxE2');
let core = null;
let defaultFileName = '';
// Which generation the panes come from, so that a worksheet made in another
// tab is told apart from an edit made there.
let generation = '';
// The last worksheet's exercises as a Moodle GIFT file (text): null while the
// core holds a new worksheet whose file is not written yet, empty when there
// is no worksheet. Kept with the documents, as the core forgets it at a reload.
let gift = '';
// The last kind pressed, which a typed code makes again, and the last
// worksheet's pupil link (its query): kept with the documents, as the core
// forgets them at a reload.
let lastKind = 0;
let pupilLink = '';

function CurrentGift() {
  gift ??= new TextDecoder().decode(GiftFile(core));
  return gift;
}

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
      values[setting.key] = Settings.ClampInteger(setting, control.value).value;
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

// Writes the values that differ from the controls' (a control being typed
// in keeps its caret when another tab changed something else).
function WriteControls(values, current = {}) {
  for (const setting of Settings.STORED) {
    const control = $(setting.id);
    const value = values[setting.key];
    if (JSON.stringify(value) === JSON.stringify(current[setting.key])) continue;
    if (setting.type === 'list') FillList(value);
    else if (setting.type === 'boolean') control.checked = value;
    else control.value = value;
  }
}

function SaveSettings() {
  Store((storage) => Settings.Save(storage, ReadControls()));
}

// The numbers as their boxes' limits allow (a box may be half typed), under
// the field names that the core's call takes.
function ReadWorksheetSettings() {
  const values = ReadControls();
  return Object.fromEntries(
    Object.entries(WORKSHEET_KEYS).map(([field, key]) => [field, values[key]]));
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

// Number boxes take typed numbers as well as their arrows: a number beyond
// the limits is brought back at once and the page says so; an emptied box
// takes its lower limit when it is left.
function KeepNumberInRange(control, leaving) {
  const setting = Settings.SETTING_OF_ID.get(control.id);
  if (control.value.trim() === '' && !leaving) return;
  const { value, changed } = Settings.ClampInteger(setting, control.value);
  if (changed) {
    control.value = value;
    ShowMessage(OUT_OF_RANGE(setting, value));
    control.dispatchEvent(new Event('input'));
  }
}

// A text box holds at most its limit (the browser refuses the rest) and the
// page says so as soon as typing or pasting runs into it.
function WatchTextLimit(control, setting) {
  control.maxLength = setting.limit;
  control.addEventListener('beforeinput', (event) => {
    if (!event.inputType.startsWith('insert')) return;
    const added = event.data ?? event.dataTransfer?.getData('text/plain') ?? '';
    const kept = control.value.length - (control.selectionEnd - control.selectionStart);
    if (kept + added.length > setting.limit) ShowMessage(TOO_LONG(setting));
  });
}

// ---- Documents ----

// Each copy of the last good text, so that a failing storage loses nothing
// that is on the page.
function StoreDocuments() {
  storePending = false;
  Store((storage) => storage.setItem(DOCUMENTS_KEY, JSON.stringify({
    name: defaultFileName, subject: subjectPane.innerHTML, answerKey: answerPane.innerHTML,
    generation, gift: CurrentGift(), kind: lastKind, code: $('eCode').dataset.shown ?? '',
    link: pupilLink,
  })));
}

// Writing the documents down takes longer than drawing them: it waits until
// the browser has painted what changed, and happens at once when the page is
// hidden or left, so that nothing is lost.
let storePending = false;
function StoreDocumentsSoon() {
  if (storePending) return;
  storePending = true;
  requestAnimationFrame(() => setTimeout(() => storePending && StoreDocuments(), 0));
}

// The documents the browser keeps; false when it keeps none.
function ShowStoredDocuments() {
  const kept = JSON.parse(localStorage.getItem(DOCUMENTS_KEY) ?? 'null');
  if (!kept) return false;
  defaultFileName = kept.name;
  subjectPane.innerHTML = kept.subject;
  answerPane.innerHTML = kept.answerKey;
  generation = kept.generation ?? '';
  gift = kept.gift ?? '';
  $('btnMoodle').disabled = gift === '';
  lastKind = Number.isInteger(kept.kind) ? kept.kind : 0;
  ShowCode(typeof kept.code === 'string' ? kept.code : '');
  pupilLink = typeof kept.link === 'string' ? kept.link : '';
  $('btnLienEleve').disabled = pupilLink === '';
  SubjectChanged();
  return true;
}

// The print and save buttons follow whether the subject holds any text.
function SubjectChanged() {
  const empty = subjectPane.textContent === '';
  $('btnImprime').disabled = empty;
  $('btnEnregistre').disabled = empty;
}

// The panes go back to their tops before they take the new documents: set
// after, the scroll positions would make the browser lay the new documents
// out at once, inside the press, rather than with the next frame.
function ShowWorksheet(sheet) {
  defaultFileName = FromBytes(sheet.name);
  subjectPane.scrollTop = 0;
  answerPane.scrollTop = 0;
  subjectPane.innerHTML = DocumentHtml(ReadDocument(core, sheet.subject));
  answerPane.innerHTML = DocumentHtml(ReadDocument(core, sheet.answerKey));
  SubjectChanged();
}

// The sheet's code in its box, as the core spells it.
function ShowCode(code) {
  $('eCode').value = code;
  $('eCode').dataset.shown = code;
  $('codeMessage').textContent = '';
}

function ShowNewWorksheet(kind, sheet) {
  SetLight(true);
  ShowMessage('');
  ShowWorksheet(sheet);
  lastKind = kind;
  ShowCode(sheet.code);
  pupilLink = PupilLink(core);
  $('btnLienEleve').disabled = false;
  generation = `${Date.now()}-${Math.random()}`;
  gift = null;
  $('btnMoodle').disabled = false;
  StoreDocumentsSoon();
}

function GenerateNow(kind) {
  ShowNewWorksheet(kind, Generate(core, kind, ReadWorksheetSettings()));
}

// A typed code makes its sheet again, of the last kind pressed, with the
// settings of the controls, the code named in both headings; a text that is
// no code leaves the sheet as it is and says so beside the box.
async function CodeTyped() {
  const typed = $('eCode').value;
  try {
    core ??= await LoadCore();
  } catch {
    ShowMessage(CORE_FAILED);
    return;
  }
  const sheet = GenerateOfCode(core, lastKind, ReadWorksheetSettings(), typed, true);
  if (sheet) ShowNewWorksheet(lastKind, sheet);
  else $('codeMessage').textContent = UNKNOWN_CODE;
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

// The page holds no worksheet: nothing was made yet, or edits left only blanks.
function NoWorksheet() {
  return LineCount(subjectPane) < 1 || subjectPane.textContent.trim() === '';
}

// The copies that a number box asks for, as its stored value reads.
function Copies(id) {
  return Settings.ClampInteger(Settings.SETTING_OF_ID.get(id), $(id).value).value;
}

// The copies as the print shows them: every subject copy, then every answer
// key copy, each from a new page. Laid out before any print, the page's
// button or the browser's own (Ctrl+P, its menu), and emptied after it.
// Where there is nothing to print, the page printed says why.
function PreparePrint() {
  const area = $('printArea');
  area.replaceChildren();
  if (NoWorksheet() || Copies('spSujets') + Copies('spCorriges') === 0) {
    const notice = document.createElement('p');
    notice.className = 'print-empty';
    notice.textContent = NoWorksheet() ? NOTHING_TO_PRINT : NO_COPIES;
    area.append(notice);
    return 0;
  }
  const copies = [[subjectPane, Copies('spSujets')], [answerPane, Copies('spCorriges')]];
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
  if (!NoWorksheet() && Copies('spSujets') + Copies('spCorriges') > 0) window.print();
}

function Download(bytes, name, type = 'application/rtf') {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// A4 with an edge of 5 mm, in twips: what the desktop writes when it has no
// printer to take the page from, and the page that the page prints on; tab
// stops every inch; Arial where a run names no font.
const SAVED_LAYOUT = { defaultTabTwips: 1440, defaultFont: 0, fonts: new Map([[0, 'Arial']]),
  page: { widthTwips: 11906, heightTwips: 16838, leftTwips: 283, rightTwips: 283, topTwips: 283,
    bottomTwips: 283 } };

// What a pane shows, as the core's writer writes it.
function SavedRtf(pane) {
  return WriteDocument(core, { ...SAVED_LAYOUT, ...PaneDocument(pane) });
}

async function SaveWorksheet() {
  core ??= await LoadCore();
  const base = defaultFileName || UNNAMED;
  Download(SavedRtf(subjectPane), `${base}.rtf`);
  Download(SavedRtf(answerPane), `${base}_Cor.rtf`);
}

// The exercises of the last worksheet made, as the core wrote them, whatever
// edits the panes hold since.
function ExportForMoodle() {
  const text = CurrentGift();
  if (text) Download(new TextEncoder().encode(text), `${defaultFileName || UNNAMED}.gift`,
    'text/plain;charset=utf-8');
}

// ---- Pupil link ----

// The pupil's link (this page's address with the sheet's settings and code)
// and its QR code, drawn module by module on a canvas.
async function ShowPupilLink() {
  const url = new URL(pupilLink, location.href).href;
  const address = $('lienEleveAdresse');
  address.href = url;
  address.textContent = url;
  const { qrcode } = await import('./qrcode.mjs');
  const qr = qrcode(0, 'M');
  qr.addData(url);
  qr.make();
  const modules = qr.getModuleCount();
  const scale = 6;
  const quiet = 4;  // the blank border that readers need around the code
  const canvas = $('lienEleveQr');
  canvas.width = canvas.height = (modules + 2 * quiet) * scale;
  const context = canvas.getContext('2d');
  context.fillStyle = '#fff';
  context.fillRect(0, 0, canvas.width, canvas.height);
  context.fillStyle = '#000';
  for (let row = 0; row < modules; row++) {
    for (let column = 0; column < modules; column++) {
      if (qr.isDark(row, column)) {
        context.fillRect((column + quiet) * scale, (row + quiet) * scale, scale, scale);
      }
    }
  }
  $('btnCopierLien').textContent = COPY_LINK;
  $('LienEleve').showModal();
}

// The link onto the clipboard; where the browser refuses, the link is
// selected for the teacher to copy.
function CopyPupilLink() {
  const address = $('lienEleveAdresse');
  // No clipboard outside a secure context (a school server in plain http).
  (navigator.clipboard?.writeText(address.href) ?? Promise.reject()).then(
    () => { $('btnCopierLien').textContent = LINK_COPIED; },
    () => getSelection().selectAllChildren(address));
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

// What the browser keeps, onto the controls and the panes; a text that was
// longer than its box takes is cut, and the page says so.
function RestoreStored(defaults) {
  const cut = [];
  try {
    WriteControls(Settings.Restore(localStorage, defaults, cut), defaults);
    ShowStoredDocuments();
  } catch {
    ShowMessage(STORAGE_FAILED);
  }
  FollowControls();
  if (cut.length) ShowMessage(cut.map(TOO_LONG).join(' '));
}

// ---- Other tabs ----

// Another tab of the page wrote to the browser's storage: its settings and
// its documents are shown here too, so that neither tab later overwrites
// the other's work with an older copy. Only the values that differ are
// written back into the controls, and nothing is stored again from here.
let settingsPending = false;

function FollowOtherTabSettings() {
  settingsPending = false;
  const current = ReadControls();
  const restored = Settings.Restore(localStorage, current);
  const changed = Settings.STORED.filter((setting) =>
    JSON.stringify(restored[setting.key]) !== JSON.stringify(current[setting.key]));
  if (changed.length === 0) return;
  WriteControls(restored, current);
  FollowControls();
  if (changed.some((setting) => GENERATION_SETTINGS.has(setting.id))) SetLight(false);
}

function FollowOtherTab(event) {
  if (event.storageArea !== localStorage || event.key === null) return;
  if (event.key === DOCUMENTS_KEY) {
    const before = generation;
    if (!ShowStoredDocuments()) return;
    if (generation !== before) SetLight(true);
    ShowMessage(FROM_OTHER_TAB);
  } else if (event.key.startsWith(Settings.SECTION) && !settingsPending) {
    // One change writes several keys: they are read together once they are all there.
    settingsPending = true;
    setTimeout(FollowOtherTabSettings, 0);
  }
}

// The number boxes' and the level's limits, from the settings table; the
// level's marks under its slider, one per level.
function SetLimits() {
  for (const setting of Settings.STORED.filter((s) => s.type === 'integer')) {
    Object.assign($(setting.id), { min: setting.min, max: setting.max });
  }
  const level = Settings.SETTING_OF_ID.get('trbNiveau');
  for (let value = level.min; value <= level.max; value++) {
    $('niveaux').append(new Option('', value));
    const mark = Object.assign(document.createElement('span'), { textContent: value });
    $('niveauxMarques').append(mark);
  }
}

function Start() {
  SetLimits();
  const defaults = Object.fromEntries(Settings.STORED.map((s) => [s.key, s.value]));
  WriteControls(defaults);
  RestoreStored(defaults);

  for (const id of ['spMaxLigne', 'spinterligne', 'spSujets', 'spCorriges']) {
    $(id).addEventListener('input', () => KeepNumberInRange($(id), false));
    $(id).addEventListener('change', () => KeepNumberInRange($(id), true));
  }
  for (const id of ['eTitre1', 'eSepar', 'Combo1']) WatchTextLimit($(id), Settings.SETTING_OF_ID.get(id));
  WatchTextLimit($('NouveauTexteSaisie'), Settings.SETTING_OF_ID.get('Combo1List'));
  for (const id of ['spMaxLigne', 'spinterligne', 'eTitre1', 'eSepar', 'Combo1', 'ckbVirgule',
    'ckbTableau', 'ckbDeuxUnites']) {
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
  $('btnMoodle').addEventListener('click', ExportForMoodle);
  $('btnLienEleve').addEventListener('click', ShowPupilLink);
  $('btnCopierLien').addEventListener('click', CopyPupilLink);
  // Enter makes the typed code's sheet, and so does leaving a box whose text changed.
  $('eCode').addEventListener('keydown', (event) => {
    if (event.key === 'Enter') CodeTyped();
  });
  $('eCode').addEventListener('change', () => {
    if ($('eCode').value !== $('eCode').dataset.shown) CodeTyped();
  });
  for (const pane of [subjectPane, answerPane]) {
    pane.addEventListener('input', () => {
      if (pane === subjectPane) SubjectChanged();
      StoreDocumentsSoon();
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
  window.addEventListener('storage', FollowOtherTab);
  window.addEventListener('pagehide', () => storePending && StoreDocuments());
  document.addEventListener('visibilitychange', () => storePending && StoreDocuments());
  window.addEventListener('beforeprint', PreparePrint);
  window.addEventListener('afterprint', () => $('printArea').replaceChildren());

  LoadCore().then((loaded) => {
    core = loaded;
    Activate();
    performance.mark('core-ready');
    document.documentElement.dataset.ready = 'true';
  }, () => ShowMessage(CORE_FAILED));
  WatchForUpdates();
}

// A pupil's link opens the pupil's view of its sheet instead of the teacher's window.
if (new URLSearchParams(location.search).has('eleve')) {
  import('./pupil.js').then((pupil) => pupil.StartPupil(), () => ShowMessage(CORE_FAILED));
} else {
  Start();
}
