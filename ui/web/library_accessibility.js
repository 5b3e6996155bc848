// What screen readers hear of the page beyond the elements themselves: which label names
// and describes a box, a value announced where the focus is not, and the table picture's
// cells, laid unseen over the drawing where their numbers are.
mergeInto(LibraryManager.library, {
  // relation: 0 the label that names the control, 1 the one that describes it.
  dosat_control_relate__deps: ['$dosatPage'],
  dosat_control_relate: function(w, c, relation, label) {
    dosatPage.control(w, c).setAttribute(relation ? 'aria-describedby' : 'aria-labelledby',
                                          dosatPage.control(w, label).id);
  },

  // Words of the program's own for what names (relation 0) or describes (1) control c,
  // where no label on the window does.
  dosat_control_tell__deps: ['$dosatPage'],
  dosat_control_tell: function(w, c, relation, text, length) {
    var element = dosatPage.control(w, c);
    var words = UTF8ToString(text, length);
    if (!relation) {
      element.setAttribute('aria-label', words);
      return;
    }
    var said = document.createElement('span');
    said.id = element.id + '-description';
    said.className = 'unseen';
    said.textContent = words;
    element.parentNode.appendChild(said);
    element.setAttribute('aria-describedby', said.id);
  },

  // Emptied first, so that the same text said again is announced again.
  dosat_announce: function(text, length) {
    var region = document.getElementById('announce');
    var said = UTF8ToString(text, length);
    region.textContent = '';
    setTimeout(function() { region.textContent = said; }, 50);
  },

  // The picture box c is a table, whose rows and cells follow.
  dosat_table_begin__deps: ['$dosatPage'],
  dosat_table_begin: function(w, c) {
    var table = dosatPage.control(w, c);
    table.setAttribute('role', 'table');
    dosatPage.table = table;
  },

  // A row from `top`, `height` pixels high, in the picture's pixels.
  dosat_table_row__deps: ['$dosatPage'],
  dosat_table_row: function(top, height) {
    var row = dosatPage.table.appendChild(document.createElement('div'));
    row.setAttribute('role', 'row');
    row.style.top = top + 'px';
    row.style.height = height + 'px';
    dosatPage.row = row;
  },

  // kind: 0 a column's heading, 1 a row's heading, 2 a cell.
  dosat_table_cell__deps: ['$dosatPage'],
  dosat_table_cell: function(kind, text, length, left, width) {
    var cell = dosatPage.row.appendChild(document.createElement('div'));
    cell.setAttribute('role', ['columnheader', 'rowheader', 'cell'][kind]);
    cell.textContent = UTF8ToString(text, length);
    cell.style.left = left + 'px';
    cell.style.width = width + 'px';
  },
});
