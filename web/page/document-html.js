// The core's rich-text documents as the page shows them, and back: HTML drawn
// from a document (one <p> per paragraph, a span per run), and the document
// that a pane holds after editing, taken from the browser's computed styles
// so that whatever editing put there (bold from Ctrl+B, pasted text) is saved
// as it is shown. Reading and writing RTF is the core's (core.js).

const FAMILY_FALLBACKS = {
  'arial': "'Liberation Sans', sans-serif",
  'times new roman': "'Liberation Serif', serif",
  'courier new': "'Liberation Mono', monospace",
};

// The page shows the documents' fonts through their metric twins where the
// machine lacks them; the files name the documents' own.
const DOCUMENT_FAMILIES = new Map([
  ['liberation sans', 'Arial'], ['arial', 'Arial'],
  ['liberation serif', 'Times New Roman'], ['times new roman', 'Times New Roman'],
  ['liberation mono', 'Courier New'], ['courier new', 'Courier New'],
  ['symbol', 'Symbol'],
]);

function CssFamily(name) {
  const fallback = FAMILY_FALLBACKS[name.toLowerCase()];
  // Single quotes: the family goes into a style attribute written with double ones.
  const quoted = `'${name.replace(/["'\\<>&]/g, '')}'`;
  return fallback ? `${quoted}, ${fallback}` : quoted;
}

function Escape(text) {
  return text.replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c])
    .replace(/\u2028/g, '<br>');
}

const Css = (colour) => `rgb(${colour.red}, ${colour.green}, ${colour.blue})`;

// The font alone: a paragraph's own, which sets the height of its lines.
function FontStyle(format) {
  const family = format.font ? `font-family:${CssFamily(format.font)};` : '';
  return `${family}font-size:${format.halfPoints / 2}pt;`;
}

function RunStyle(format) {
  let style = FontStyle(format);
  if (format.bold) style += 'font-weight:bold;';
  if (format.italic) style += 'font-style:italic;';
  const lines = (format.underline ? ' underline' : '') + (format.strike ? ' line-through' : '');
  if (lines) style += `text-decoration:${lines.trim()};`;
  if (format.foreground) style += `color:${Css(format.foreground)};`;
  if (format.highlight) style += `background-color:${Css(format.highlight)};`;
  return style;
}

// A run in the paragraph's own font and nothing more is bare text: fewer
// elements make a pane quicker to lay out and paint.
function ParagraphHtml(paragraph, formats, styles) {
  const first = formats[paragraph.runs.length ? paragraph.runs[0].format : paragraph.mark];
  const own = FontStyle(first);
  let html = `<p style="${own}">`;
  if (paragraph.runs.length === 0) html += `<span style="${styles[paragraph.mark]}"><br></span>`;
  for (const run of paragraph.runs) {
    const format = formats[run.format];
    const tag = format.alignment === 'super' ? 'sup' : 'sub';
    const text = Escape(run.text);
    if (format.alignment) {
      html += `<span style="${styles[run.format]}"><${tag}>${text}</${tag}></span>`;
    } else {
      html += styles[run.format] === own ? text : `<span style="${styles[run.format]}">${text}</span>`;
    }
  }
  return `${html}</p>`;
}

// The document as HTML: one <p> per paragraph, one <span> per run that needs
// one; an empty paragraph holds a <br> in its own size so that it keeps its
// height; a table is a <table> of its cells' paragraphs.
export function DocumentHtml(document) {
  const styles = document.formats.map(RunStyle);
  const paragraphHtml = (paragraph) => ParagraphHtml(paragraph, document.formats, styles);
  let html = '';
  for (const block of document.blocks) {
    if (block.paragraph) {
      html += paragraphHtml(block.paragraph);
    } else {
      html += '<table>' + block.table.map((row) => '<tr>' + row.map((cell) =>
        `<td>${cell.map(paragraphHtml).join('')}</td>`).join('') + '</tr>').join('') + '</table>';
    }
  }
  return html;
}

// ---- Back from the pane ----

const BLOCKS = new Set(['P', 'DIV', 'LI', 'UL', 'OL', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6',
  'BLOCKQUOTE', 'PRE', 'TABLE', 'TR', 'SECTION', 'ARTICLE']);

function IsBlock(node) {
  return node.nodeType === 1 && BLOCKS.has(node.nodeName);
}

// A <br> that ends its paragraph only holds the line's height open.
function IsPlaceholder(br, root) {
  for (let node = br; node && node !== root && !IsBlock(node); node = node.parentNode) {
    if (node.nextSibling) return false;
  }
  return true;
}

function Rgb(css) {
  const [red, green, blue] = css.match(/\d+(\.\d+)?/g).map((n) => Math.round(Number(n)));
  return { red, green, blue };
}

// The formats of a pane's elements, each distinct one numbered once.
class Formats {
  constructor(root) {
    this.root = root;
    this.rootColour = getComputedStyle(root).color;
    this.byElement = new Map();
    this.byKey = new Map();
    this.list = [];
  }

  indexOf(format) {
    const key = JSON.stringify(format);
    let index = this.byKey.get(key);
    if (index === undefined) {
      index = this.list.push(format) - 1;
      this.byKey.set(key, index);
    }
    return index;
  }

  // The format of the text that `element` holds, as the core's reader would give it.
  of(element) {
    let index = this.byElement.get(element);
    if (index !== undefined) return index;
    const style = getComputedStyle(element);
    let alignment = '';
    let sizeElement = element;
    let underline = false;
    let strike = false;
    let highlight = null;
    for (let node = element; node && node !== this.root; node = node.parentElement) {
      const own = node === element ? style : getComputedStyle(node);
      if (!alignment && (own.verticalAlign === 'super' || own.verticalAlign === 'sub')) {
        alignment = own.verticalAlign;
        sizeElement = node.parentElement ?? node;
      }
      underline ||= own.textDecorationLine.includes('underline');
      strike ||= own.textDecorationLine.includes('line-through');
      const background = own.backgroundColor;
      if (!highlight && background !== 'transparent' && !background.startsWith('rgba(0, 0, 0, 0')) {
        highlight = Rgb(background);
      }
    }
    const first = style.fontFamily.split(',')[0].trim().replace(/^["']|["']$/g, '');
    const pixels = parseFloat(getComputedStyle(sizeElement).fontSize);
    index = this.indexOf({
      font: DOCUMENT_FAMILIES.get(first.toLowerCase()) ?? first,
      halfPoints: Math.round(pixels * 1.5),  // 96 px to 72 points, in halves
      bold: Number(style.fontWeight) >= 600,
      italic: style.fontStyle === 'italic',
      underline,
      strike,
      alignment,
      foreground: style.color === this.rootColour ? null : Rgb(style.color),
      highlight,
    });
    this.byElement.set(element, index);
    return index;
  }
}

// What a pane holds as a document for the core's writer: its paragraphs,
// each a list of runs; an empty paragraph has no run and its own element's
// format as its mark.
export function PaneDocument(root) {
  const formats = new Formats(root);
  const paragraphs = [];
  let current = null;
  const open = (element) => {
    current ??= { runs: [], element };
  };
  const close = () => {
    if (current) {
      const { runs, element } = current;
      paragraphs.push({ ended: true, mark: runs.length ? runs[0].format : formats.of(element), runs });
    }
    current = null;
  };
  const walk = (parent) => {
    for (const node of parent.childNodes) {
      if (node.nodeType === 3) {
        if (node.data) {
          open(parent);
          current.runs.push({ text: node.data, format: formats.of(parent) });
        }
      } else if (node.nodeName === 'BR') {
        open(parent);
        if (IsPlaceholder(node, root)) {
          current.element = parent;  // the empty line's own size
        } else {
          current.runs.push({ text: '\u2028', format: formats.of(parent) });
        }
      } else if (IsBlock(node)) {
        close();
        walk(node);
        open(node);
        close();
      } else if (node.nodeType === 1) {
        walk(node);
      }
    }
  };
  walk(root);
  close();
  if (paragraphs.length) paragraphs[paragraphs.length - 1].ended = false;
  return { formats: formats.list, blocks: paragraphs.map((paragraph) => ({ paragraph })) };
}
