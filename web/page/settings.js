// The window's settings as the page keeps them in the browser: the keys,
// defaults, limits and spelling of the desktop's settings file, one storage
// item per key ("TForm1/spMaxLigne_Value", "TForm1.Combo1_Items/Item0").

export const SECTION = 'TForm1';
export const LIST_SECTION = 'TForm1.Combo1_Items';

export const DEFAULT_TITLE = 'Nom :' + ' '.repeat(23) + 'Prénom :' + ' '.repeat(29) + 'Classe :';
export const DEFAULT_INSTRUCTIONS = ['Convertir en ',
  'En séparant correctement les tranches, veuillez convertir en ', 'Convertissez en ', ''];

// In the order the settings file keeps them. `id` is the page's control.
export const STORED = [
  { key: 'spMaxLigne_Value', id: 'spMaxLigne', type: 'integer', min: 1, max: 40, value: 25 },
  { key: 'spinterligne_Value', id: 'spinterligne', type: 'integer', min: 0, max: 10, value: 1 },
  { key: 'eTitre1_Text', id: 'eTitre1', type: 'text', value: DEFAULT_TITLE },
  { key: 'eSepar_Text', id: 'eSepar', type: 'text', value: '-'.repeat(123) },
  { key: 'spCorriges_Value', id: 'spCorriges', type: 'integer', min: 0, max: 999, value: 1 },
  { key: 'spSujets_Value', id: 'spSujets', type: 'integer', min: 0, max: 999, value: 1 },
  { key: 'Combo1_Text', id: 'Combo1', type: 'text', value: 'Convertir en ' },
  { key: 'Combo1_Items', id: 'Combo1List', type: 'list', value: DEFAULT_INSTRUCTIONS },
  { key: 'CheckBox1_Checked', id: 'CheckBox1', type: 'boolean', value: true },
  { key: 'trbNiveau_Position', id: 'trbNiveau', type: 'integer', min: 1, max: 3, value: 1 },
  { key: 'ckbEdite_Checked', id: 'ckbEdite', type: 'boolean', value: false },
  { key: 'ckbVirgule_Checked', id: 'ckbVirgule', type: 'boolean', value: false },
];

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

// A value read back: blanks around it removed, then one outer pair of equal
// quotes, at most 2047 characters.
export function ReadValue(stored) {
  let text = stored.replace(/^ +| +$/g, '');
  if (text.length >= 2 && (text[0] === '"' || text[0] === "'") &&
      text[text.length - 1] === text[0]) {
    text = text.slice(1, -1);
  }
  return text.slice(0, 2047);
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
// as the desktop's restore trims it.
export function Restore(storage, current) {
  const restored = {};
  for (const setting of STORED) {
    if (setting.type === 'list') {
      const count = parseInt(TrimControls(storage.getItem(`${LIST_SECTION}/Count`) ?? '0'), 10);
      restored[setting.key] = count > 0
        ? Array.from({ length: count },
          (_, i) => ReadValue(storage.getItem(`${LIST_SECTION}/Item${i}`) ?? ''))
        : current[setting.key];
      continue;
    }
    const stored = storage.getItem(`${SECTION}/${setting.key}`);
    const fallback = current[setting.key];
    restored[setting.key] = Decode(setting, stored ?? Encode(setting, fallback), fallback);
  }
  return restored;
}

// Writes every setting; the list's section is rewritten whole, and left out
// when the list is empty. Throws what the storage throws (full, refused).
export function Save(storage, values) {
  for (const setting of STORED) {
    if (setting.type === 'list') {
      for (let i = 0; storage.getItem(`${LIST_SECTION}/Item${i}`) !== null; i++) {
        storage.removeItem(`${LIST_SECTION}/Item${i}`);
      }
      storage.removeItem(`${LIST_SECTION}/Count`);
      const entries = values[setting.key];
      if (entries.length > 0) {
        storage.setItem(`${LIST_SECTION}/Count`, String(entries.length));
        entries.forEach((entry, i) => storage.setItem(`${LIST_SECTION}/Item${i}`, entry));
      }
      continue;
    }
    storage.setItem(`${SECTION}/${setting.key}`, Encode(setting, values[setting.key]));
  }
}
