// The program's windows as panels of the page: a title bar and a client area holding the
// controls, each an element placed at its designed pixels. A panel stands for a window
// whether shown or hidden; the program's handlers hear of clicks, of the page's end and of
// the warning's close through the functions main.cpp exports.
mergeInto(LibraryManager.library, {
  $dosatPage: {
    // By handle: {panel, client, controls: [], focus} while the window exists, else null.
    windows: [],
    // The library's objects are written into the page as source: what needs making at
    // run time is made on first use.
    text: null,  // the UTF-8 of the text dosat_control_text_size read, for dosat_control_text_copy
    encoder: null,
    string: function(pointer, length) { return UTF8ToString(pointer, length); },
    control: function(w, c) { return dosatPage.windows[w].controls[c]; },
  },

  dosat_window_make__deps: ['$dosatPage'],
  dosat_window_make: function(name, nameLength, caption, captionLength, width, height) {
    var id = dosatPage.string(name, nameLength);
    var panel = document.createElement('section');
    panel.className = 'window';
    panel.id = id;
    panel.hidden = true;
    panel.setAttribute('aria-labelledby', id + '-caption');
    var bar = panel.appendChild(document.createElement('header'));
    bar.className = 'titlebar';
    bar.appendChild(document.createElement('span')).className = 'icon';
    var title = bar.appendChild(document.createElement('h1'));
    title.id = id + '-caption';
    title.textContent = dosatPage.string(caption, captionLength);
    var client = panel.appendChild(document.createElement('div'));
    client.className = 'client';
    client.style.width = width + 'px';
    client.style.height = height + 'px';
    // No button is the default: Enter on a focused button presses nothing, as on the
    // desktop. Space still presses it.
    panel.addEventListener('keydown', function(event) {
      if (event.key === 'Enter' && event.target.tagName === 'BUTTON') event.preventDefault();
    });
    document.getElementById('desktop').appendChild(panel);
    return dosatPage.windows.push({panel: panel, client: client, controls: [], focus: null}) - 1;
  },

  dosat_window_destroy__deps: ['$dosatPage'],
  dosat_window_destroy: function(w) {
    dosatPage.windows[w].panel.remove();
    dosatPage.windows[w] = null;
  },

  // The control in `row` of the design, appended after those made before it; kind: 0 a
  // label, 1 a text box, 2 a button, 3 a picture box, as design::Kind.
  dosat_control_make__deps: ['$dosatPage'],
  dosat_control_make: function(w, row, kind, name, nameLength, text, textLength, left, top, width, height, stacking,
                               families, familiesLength, fontPixels) {
    var win = dosatPage.windows[w];
    var tag = ['span', 'input', 'button', 'div'][kind];
    var element = document.createElement(tag);
    element.id = win.panel.id + '-' + dosatPage.string(name, nameLength);
    element.className = ['label', 'textbox', 'button', 'picture'][kind];
    var value = dosatPage.string(text, textLength);
    if (kind === 1) {
      element.type = 'text';
      element.value = value;
      element.autocomplete = 'off';
      element.spellcheck = false;
      element.setAttribute('autocapitalize', 'off');
      element.setAttribute('autocorrect', 'off');
    } else {
      if (kind === 2) {
        element.type = 'button';
        element.addEventListener('click', function() { _dosat_web_clicked(w, row); });
      }
      element.textContent = value;
      if (kind === 3) element.tabIndex = 0;  // the picture box takes the focus, as on the desktop
    }
    var style = element.style;
    style.left = left + 'px';
    style.top = top + 'px';
    style.width = width + 'px';
    style.height = height + 'px';
    style.zIndex = stacking;
    style.fontFamily = dosatPage.string(families, familiesLength);
    style.fontSize = fontPixels + 'px';
    win.client.appendChild(element);
    win.controls[row] = element;
  },

  dosat_window_show__deps: ['$dosatPage'],
  dosat_window_show: function(w) {
    var win = dosatPage.windows[w];
    win.panel.hidden = false;
    document.title = win.panel.querySelector('h1').textContent.trim();
    // The control that had the focus when the window was hidden has it again; the first
    // to take it, the first time the window is shown.
    var focus = win.focus || win.panel.querySelector('input, button, [tabindex="0"]');
    // The page shows the window from its title bar, wherever the one before was scrolled.
    scrollTo(0, 0);
    if (focus) focus.focus({preventScroll: true});
  },

  dosat_window_hide__deps: ['$dosatPage'],
  dosat_window_hide: function(w) {
    var win = dosatPage.windows[w];
    if (win.panel.contains(document.activeElement)) win.focus = document.activeElement;
    win.panel.hidden = true;
  },

  dosat_window_visible__deps: ['$dosatPage'],
  dosat_window_visible: function(w) { return !dosatPage.windows[w].panel.hidden; },

  dosat_control_text_size__deps: ['$dosatPage'],
  dosat_control_text_size: function(w, c) {
    var element = dosatPage.control(w, c);
    // Encoded here: Emscripten's own string helpers are not in every release's runtime.
    if (!dosatPage.encoder) dosatPage.encoder = new TextEncoder();
    dosatPage.text = dosatPage.encoder.encode(element.tagName === 'INPUT' ? element.value : element.textContent);
    return dosatPage.text.length;
  },

  // The text as UTF-8, `size` bytes at most, the last a NUL.
  dosat_control_text_copy__deps: ['$dosatPage'],
  dosat_control_text_copy: function(buffer, size) {
    if (size <= 0) return;
    var bytes = dosatPage.text.subarray(0, size - 1);
    HEAPU8.set(bytes, buffer);
    HEAPU8[buffer + bytes.length] = 0;
  },

  dosat_control_set_text__deps: ['$dosatPage'],
  dosat_control_set_text: function(w, c, text, length) {
    var element = dosatPage.control(w, c);
    var value = dosatPage.string(text, length);
    if (element.tagName === 'INPUT') element.value = value; else element.textContent = value;
  },

  // A hidden window takes the focus when it is shown.
  dosat_control_focus__deps: ['$dosatPage'],
  dosat_control_focus: function(w, c, selectAll) {
    var win = dosatPage.windows[w];
    var element = win.controls[c];
    win.focus = element;
    if (selectAll && element.select) element.select();
    if (!win.panel.hidden) element.focus();
  },

  // A modal message over the page; the program hears when it is dismissed.
  dosat_window_warn__deps: ['$dosatPage'],
  dosat_window_warn: function(w, caption, captionLength, text, textLength) {
    var dialog = document.createElement('dialog');
    dialog.className = 'message';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-labelledby', 'message-caption');
    dialog.setAttribute('aria-describedby', 'message-text');
    var bar = dialog.appendChild(document.createElement('header'));
    bar.className = 'titlebar';
    var title = bar.appendChild(document.createElement('h1'));
    title.id = 'message-caption';
    title.textContent = dosatPage.string(caption, captionLength);
    var body = dialog.appendChild(document.createElement('p'));
    body.id = 'message-text';
    body.textContent = dosatPage.string(text, textLength);
    var ok = dialog.appendChild(document.createElement('button'));
    ok.type = 'button';
    ok.className = 'button';
    ok.textContent = 'OK';
    ok.addEventListener('click', function() { dialog.close(); });
    dialog.addEventListener('close', function() {
      dialog.remove();
      _dosat_web_warning_closed(w);
    });
    document.body.appendChild(dialog);
    dialog.showModal();
    ok.focus();
  },

  // Closing the tab, or leaving the page for good, is the user's closing the window
  // shown; a page kept for the browser's Back and Forward is not ended.
  dosat_page_set_font__deps: ['$dosatPage'],
  dosat_page_set_font: function(families, length) {
    document.documentElement.style.setProperty('--ui', dosatPage.string(families, length));
  },

  dosat_page_listen__deps: ['$dosatPage'],
  dosat_page_listen: function() {
    window.addEventListener('pagehide', function(event) {
      if (!event.persisted) _dosat_web_page_closed();
    });
  },

  // Marks when the program is ready to calculate, for the start-up benchmark.
  dosat_page_ready: function() { performance.mark('dosat-ready'); },
});
