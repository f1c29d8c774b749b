// The window's settings as the page keeps them in the browser: the keys,
// defaults, limits and spelling of the desktop's settings file, one storage
// item per key ("TForm1/spMaxLigne_Value", "TForm1.Combo1_Items/Item0").
// The keys, kinds, limits and starting values are the desktop's own table
// (settings-table.js, written from the core when the page is built); the
// page adds its names for its messages. A combo box's list is a control of
// its own on the page, named after the box ("Combo1List").
import { MAX_LIST_ENTRIES, ROWS, SECTION, STORED_TEXT_LIMIT } from './settings-table.js';

export { SECTION, STORED_TEXT_LIMIT };

const LABELS = {
  spMaxLigne: 'Nombre de questions', spinterligne: 'Interligne', eTitre1: 'Titre',
  eSepar: 'Ligne de séparation', spCorriges: 'Corrigés', spSujets: 'Sujets', Combo1: 'Consigne',
  Combo1List: 'Liste des consignes',
};

// In the order the settings file keeps them. `id` is the page's control,
// `label` its name on the page, `limit` the most characters a text holds.
export const STORED = ROWS.map(({ control, ...row }) => {
  const id = row.type === 'list' ? `${control}List` : control;
  return { ...row, id, label: LABELS[id] };
});

export const LIST_SECTION = STORED.find((setting) => setting.type === 'list').section;

export const SETTING_OF_ID = new Map(STORED.map((setting) => [setting.id, setting]));

// A number box's text as its value: rounded to a whole number and brought
// within the limits; no number at all gives the lower limit. `changed` tells
// that the text said something else.
export function ClampInteger(setting, text) {
  const number = text.trim() === '' ? NaN : Number(text);
  const value = Number.isFinite(number)
    ? Math.min(setting.max, Math.max(setting.min, Math.round(number))) : setting.min;
  return { value, changed: String(value) !== text.trim() };
}

// Every character up to code 32 at either end.
export function TrimControls(text) {
  return text.replace(/^[\x00-\x20]+|[\x00-\x20]+$/g, '');
}

// A value as the file spells it.
export function Encode(setting, value) {
  if (setting.type === 'integer') return String(value);
  if (setting.type === 'boolean') return value ? 'True' : 'False';
  const text = TrimControls(value);
  const quoted = text.length >= 2 && (text[0] === '"' || text[0] === "'") &&
    text[text.length - 1] === text[0];
  return quoted ? `"${text}"` : text;
}

// A stored value without the blanks around it, then without one outer pair
// of equal quotes.
function Unquoted(stored) {
  const text = stored.replace(/^ +| +$/g, '');
  const quoted = text.length >= 2 && (text[0] === '"' || text[0] === "'") &&
    text[text.length - 1] === text[0];
  return quoted ? text.slice(1, -1) : text;
}

// A value read back: unquoted, at most 2047 characters.
export function ReadValue(stored) {
  return Unquoted(stored).slice(0, STORED_TEXT_LIMIT);
}

// What a control takes from a stored text; `current` where the text says
// nothing a control can take (an unknown boolean word).
export function Decode(setting, stored, current) {
  const text = TrimControls(ReadValue(stored));
  if (setting.type === 'integer') {
    const value = /^[+-]?\d+$/.test(text) ? parseInt(text, 10) : 0;
    return Math.min(setting.max, Math.max(setting.min, value));
  }
  if (setting.type === 'boolean') {
    const word = text.toLowerCase();
    return word === 'true' ? true : word === 'false' ? false : current;
  }
  return text;
}

// Reads every setting from `storage` (a Storage), `current` holding the
// controls' values by key; a missing key leaves its control's value, trimmed
// as the desktop's restore trims it. A text longer than its limit is cut to
// it, and its setting is added to `cut`, so that the page can say so.
export function Restore(storage, current, cut = []) {
  const restored = {};
  const limited = (setting, stored, text) => {
    if (TrimControls(Unquoted(stored)).length > setting.limit && !cut.includes(setting)) {
      cut.push(setting);
    }
    return text.slice(0, setting.limit);
  };
  for (const setting of STORED) {
    if (setting.type === 'list') {
      // A longer count is damage, which would hold the page for minutes.
      const count = Math.min(
        parseInt(TrimControls(storage.getItem(`${LIST_SECTION}/Count`) ?? '0'), 10), MAX_LIST_ENTRIES);
      restored[setting.key] = count > 0
        ? Array.from({ length: count }, (_, i) => {
          const stored = storage.getItem(`${LIST_SECTION}/Item${i}`) ?? '';
          return limited(setting, stored, ReadValue(stored));
        })
        : current[setting.key];
      continue;
    }
    const stored = storage.getItem(`${SECTION}/${setting.key}`);
    const fallback = current[setting.key];
    const value = Decode(setting, stored ?? Encode(setting, fallback), fallback);
    restored[setting.key] = setting.type === 'text' ? limited(setting, stored ?? '', value) : value;
  }
  return restored;
}

// Writes every setting that differs from what `storage` holds, so that other
// tabs hear only of real changes; the list's section is rewritten whole when
// the list changed, and left out when the list is empty. Throws what the
// storage throws (full, refused).
export function Save(storage, values) {
  const put = (key, value) => {
    if (storage.getItem(key) !== value) storage.setItem(key, value);
  };
  for (const setting of STORED) {
    if (setting.type !== 'list') {
      put(`${SECTION}/${setting.key}`, Encode(setting, values[setting.key]));
      continue;
    }
    const entries = values[setting.key];
    const count = Number(storage.getItem(`${LIST_SECTION}/Count`) ?? 0);
    const same = count === entries.length && storage.getItem(`${LIST_SECTION}/Item${count}`) === null &&
      entries.every((entry, i) => storage.getItem(`${LIST_SECTION}/Item${i}`) === entry);
    if (same) continue;
    for (let i = 0; storage.getItem(`${LIST_SECTION}/Item${i}`) !== null; i++) {
      storage.removeItem(`${LIST_SECTION}/Item${i}`);
    }
    storage.removeItem(`${LIST_SECTION}/Count`);
    if (entries.length > 0) {
      storage.setItem(`${LIST_SECTION}/Count`, String(entries.length));
      entries.forEach((entry, i) => storage.setItem(`${LIST_SECTION}/Item${i}`, entry));
    }
  }
}
