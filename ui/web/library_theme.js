// The page's colours as the program's palette: which kind of palette the browser shows
// (the designed light one, a dark one, or forced colours), the colours a control's text is
// drawn on and in by default, and the text colour the program chooses for it.
mergeInto(LibraryManager.library, {
  $dosatTheme: {
    // 0x00BBGGRR of a computed CSS colour, "rgb(r, g, b)" or "rgba(r, g, b, a)".
    bgr: function(css) {
      var c = css.match(/[\d.]+/g) || [0, 0, 0];
      return (Math.round(c[0]) | Math.round(c[1]) << 8 | Math.round(c[2]) << 16) >>> 0;
    },
  },

  // 0: the designed palette, 1: any other (a dark colour scheme), 2: forced colours.
  dosat_theme_palette: function() {
    if (matchMedia('(forced-colors: active)').matches) return 2;
    return matchMedia('(prefers-color-scheme: dark)').matches ? 1 : 0;
  },

  // What the text of control c is drawn on: a text box's own background, else its window's.
  dosat_theme_background__deps: ['$dosatPage', '$dosatTheme'],
  dosat_theme_background: function(w, c) {
    var win = dosatPage.windows[w];
    var element = win.controls[c];
    return dosatTheme.bgr(getComputedStyle(element.tagName === 'INPUT' ? element : win.client).backgroundColor);
  },

  // The colour the page draws control c's text in when the program sets none.
  dosat_theme_default_text__deps: ['$dosatPage', '$dosatTheme'],
  dosat_theme_default_text: function(w, c) {
    var element = dosatPage.control(w, c);
    var set = element.style.color;
    element.style.color = '';
    var colour = dosatTheme.bgr(getComputedStyle(element).color);
    element.style.color = set;
    return colour;
  },

  dosat_theme_set_text__deps: ['$dosatPage'],
  dosat_theme_set_text: function(w, c, colour, length) {
    dosatPage.control(w, c).style.color = UTF8ToString(colour, length);
  },

  // The program hears when the browser's colour scheme or forced colours change.
  dosat_theme_listen: function() {
    ['(prefers-color-scheme: dark)', '(forced-colors: active)'].forEach(function(query) {
      matchMedia(query).addEventListener('change', function() { _dosat_web_theme_changed(); });
    });
  },
});
