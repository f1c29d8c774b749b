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

// A paragraph's own style: the font of its first run (which sets the height
// of its lines), its centring, and its keeping with what follows on paper.
function ParagraphStyle(paragraph, font) {
  let style = font;
  if (paragraph.centred) style += 'text-align:center;';
  if (paragraph.keepWithNext) style += 'break-after:avoid;';
  return style;
}

// A run in the paragraph's own font and nothing more is bare text: fewer
// elements make a pane quicker to lay out and paint. `styles` holds each
// format's style and `fonts` its font alone, written once per document.
function ParagraphHtml(paragraph, formats, styles, fonts) {
  const own = fonts[paragraph.runs.length ? paragraph.runs[0].format : paragraph.mark];
  let html = `<p style="${ParagraphStyle(paragraph, own)}">`;
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

// CSS pixels are 1/96 inch, twips 1/1440.
const TWIPS_PER_PIXEL = 15;
const Pixels = (twips) => `${twips / TWIPS_PER_PIXEL}px`;

// Each row's cell edges, from its left edge, in twips. A cell whose edge does
// not pass the one before it (a damaged file) gets one twip, so that every
// cell keeps a column of its own and its text stays in the view.
function RowEdges(row) {
  let left = 0;
  return row.cells.map((cell) => {
    left = Math.max(cell.rightTwips, left + 1);
    return left;
  });
}

// A table on a grid whose columns lie between the edges of all its rows, as
// RTF draws it: a heading cell over two cells of the next row spans their two
// columns. Each column keeps its width in twips (data-twips) so that saving
// gives back the very edges that were read. Padding is the row's gap on both
// sides of a cell; rows kept together and cells whose paragraphs keep with
// what follows are not split across pages.
function TableHtml(rows, paragraphHtml) {
  const rowEdges = rows.map(RowEdges);
  const edges = [...new Set([0, ...rowEdges.flat()])].sort((a, b) => a - b);
  const column = new Map(edges.map((edge, i) => [edge, i]));
  const widths = edges.slice(1).map((edge, i) => edge - edges[i]);
  const together = rows.length > 0 && rows.every((row) => row.keepTogether);
  let html = `<table style="width:${Pixels(edges[edges.length - 1])};` +
    `${together ? 'break-inside:avoid;' : ''}"><colgroup>` +
    widths.map((twips) => `<col data-twips="${twips}" style="width:${Pixels(twips)}">`).join('') +
    '</colgroup><tbody>';
  rows.forEach((row, r) => {
    const keepsWithNext = row.cells.some((cell) => cell.paragraphs.some((p) => p.keepWithNext));
    const rowStyle = (row.keepTogether ? 'break-inside:avoid;' : '') +
      (keepsWithNext ? 'break-after:avoid;' : '');
    html += rowStyle ? `<tr style="${rowStyle}">` : '<tr>';
    const gap = Pixels(Math.max(row.gapTwips, 0));
    let from = 0;
    row.cells.forEach((cell, c) => {
      const to = column.get(rowEdges[r][c]);
      const span = to - from > 1 ? ` colspan="${to - from}"` : '';
      const border = cell.bordered ? 'border:1px solid #000;' : '';
      html += `<td${span} style="padding:0 ${gap};${border}">` +
        `${cell.paragraphs.map(paragraphHtml).join('')}</td>`;
      from = to;
    });
    html += '</tr>';
  });
  return `${html}</tbody></table>`;
}

// The document as HTML: one <p> per paragraph, one <span> per run that needs
// one; an empty paragraph holds a <br> in its own size so that it keeps its
// height; a table is a <table> of its cells' paragraphs, in a box of its own
// that the browser may leave unlaid while it is out of the pane's view.
export function DocumentHtml(document) {
  const styles = document.formats.map(RunStyle);
  const fonts = document.formats.map(FontStyle);
  const paragraphHtml = (paragraph) => ParagraphHtml(paragraph, document.formats, styles, fonts);
  let html = '';
  for (const block of document.blocks) {
    html += block.paragraph ? paragraphHtml(block.paragraph)
      : `<div class="${TABLE_VIEW}">${TableHtml(block.table, paragraphHtml)}</div>`;
  }
  return html;
}

const TABLE_VIEW = 'table-view';

// The box around a table, which holds no paragraph of its own.
function IsTableView(node) {
  return node.nodeName === 'DIV' && node.classList.contains(TABLE_VIEW);
}

// ---- Back from the pane ----

const BLOCKS = new Set(['P', 'DIV', 'LI', 'UL', 'OL', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6',
  'BLOCKQUOTE', 'PRE', 'TABLE', 'TR', 'TD', 'TH', 'CAPTION', 'SECTION', 'ARTICLE']);

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

// A paragraph's centring and keeping, as its block element shows them.
function ParagraphLayout(block) {
  const style = getComputedStyle(block);
  return { centred: style.textAlign === 'center' || style.textAlign === '-webkit-center',
    keepWithNext: style.breakAfter === 'avoid' };
}

// The blocks that an element holds, in the order shown: its paragraphs, each
// a list of runs (an empty paragraph has no run and its own element's format
// as its mark), and, where `tables` is true, its tables. Inside a cell
// (`tables` false) a table pasted there gives its cells as paragraphs: the
// document has no table within a table, and the text is kept.
function Blocks(root, element, formats, tables) {
  const blocks = [];
  let current = null;
  const open = (parent, block) => {
    current ??= { runs: [], element: parent, block };
  };
  const close = () => {
    if (current) {
      const { runs, element, block } = current;
      blocks.push({ paragraph: { ended: true, ...ParagraphLayout(block),
        mark: runs.length ? runs[0].format : formats.of(element), runs } });
    }
    current = null;
  };
  const walk = (parent, block) => {
    for (const node of parent.childNodes) {
      if (node.nodeType === 3) {
        if (node.data) {
          open(parent, block);
          current.runs.push({ text: node.data, format: formats.of(parent) });
        }
      } else if (node.nodeName === 'BR') {
        open(parent, block);
        if (IsPlaceholder(node, root)) {
          current.element = parent;  // the empty line's own size
        } else {
          current.runs.push({ text: '\u2028', format: formats.of(parent) });
        }
      } else if (tables && node.nodeName === 'TABLE') {
        close();
        const rows = TableRows(root, node, formats);
        if (rows.length) blocks.push({ table: rows });
      } else if (tables && IsTableView(node)) {
        walk(node, block);
      } else if (IsBlock(node)) {
        close();
        walk(node, node);
        open(node, node);
        close();
      } else if (node.nodeType === 1) {
        walk(node, block);
      }
    }
  };
  walk(element, element);
  close();
  return blocks;
}

// A table's rows as the pane shows them, whatever editing left of them: each
// cell's right edge from the widths of the grid's columns that it spans (as
// drawn from the document), or from its own width where it stands beyond
// them; the gap from the cells' padding. A row left without cells, a table
// left without rows, is no longer shown and is left out.
function TableRows(root, table, formats) {
  const widths = [...table.querySelectorAll(':scope > colgroup > col')].flatMap((col) =>
    Array(Math.max(col.span, 1)).fill(Number(col.dataset.twips) ||
      Math.round(col.getBoundingClientRect().width * TWIPS_PER_PIXEL)));
  const edges = widths.reduce((sums, width) => [...sums, sums[sums.length - 1] + width], [0]);
  const rows = [];
  for (const tr of table.rows) {
    if (tr.cells.length === 0) continue;
    let column = 0;
    let right = 0;
    const cells = [...tr.cells].map((td) => {
      column += Math.max(td.colSpan, 1);
      const style = getComputedStyle(td);
      const measured = Math.max(Math.round(td.getBoundingClientRect().width * TWIPS_PER_PIXEL), 1);
      right = column < edges.length && edges[column] > right ? edges[column] : right + measured;
      const paragraphs = Blocks(root, td, formats, false).map((block) => block.paragraph);
      if (paragraphs.length) paragraphs[paragraphs.length - 1].ended = false;
      return { rightTwips: right, paragraphs,
        bordered: style.borderTopStyle !== 'none' && parseFloat(style.borderTopWidth) > 0 };
    });
    rows.push({ cells,
      gapTwips: Math.round(parseFloat(getComputedStyle(tr.cells[0]).paddingLeft) * TWIPS_PER_PIXEL),
      keepTogether: getComputedStyle(tr).breakInside === 'avoid' });
  }
  return rows;
}

// What a pane holds as a document for the core's writer: its paragraphs and
// tables; every paragraph but the last of the document, and the last of each
// cell, ends with a paragraph mark.
export function PaneDocument(root) {
  const formats = new Formats(root);
  const blocks = Blocks(root, root, formats, true);
  const last = blocks[blocks.length - 1];
  if (last?.paragraph) last.paragraph.ended = false;
  return { formats: formats.list, blocks };
}
