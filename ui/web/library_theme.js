// The page's colours as the program's palette: which kind of palette the browser shows
// (the designed light one, a dark one, or forced colours), the colours a window's texts
// are drawn on and in by default, and the text colour the program chooses for a control.
mergeInto(LibraryManager.library, {
  $dosatTheme: {
    // 0xRRGGBB of a computed CSS colour, "rgb(r, g, b)" or "rgba(r, g, b, a)".
    rgb: function(css) {
      var c = css.match(/[\d.]+/g) || [0, 0, 0];
      return (Math.round(c[0]) << 16 | Math.round(c[1]) << 8 | Math.round(c[2])) >>> 0;
    },
  },

  // 0: the designed palette, 1: any other (a dark colour scheme), 2: forced colours.
  dosat_theme_palette: function() {
    if (matchMedia('(forced-colors: active)').matches) return 2;
    return matchMedia('(prefers-color-scheme: dark)').matches ? 1 : 0;
  },

  // As 0xRRGGBB, what window w draws: 0 its background, 1 its text there, 2 a text box's
  // background, 3 the text in it, each as the page draws them where the program sets none.
  dosat_theme_colour__deps: ['$dosatPage', '$dosatTheme'],
  dosat_theme_colour: function(w, which) {
    var client = dosatPage.windows[w].client;
    var element = client;
    if (which >= 2) {
      element = document.createElement('input');
      element.className = 'textbox';
      element.hidden = true;
      client.appendChild(element);
    }
    var style = getComputedStyle(element);
    var colour = dosatTheme.rgb(which % 2 ? style.color : style.backgroundColor);
    if (element !== client) element.remove();
    return colour;
  },

  dosat_theme_set_text__deps: ['$dosatPage'],
  dosat_theme_set_text: function(w, c, colour, length) {
    dosatPage.control(w, c).style.color = UTF8ToString(colour, length);
  },

  dosat_theme_set_background__deps: ['$dosatPage'],
  dosat_theme_set_background: function(w, colour, length) {
    dosatPage.windows[w].client.style.backgroundColor = length ? UTF8ToString(colour, length) : '';
  },

  // The program hears when the browser's colour scheme or forced colours change.
  dosat_theme_listen: function() {
    ['(prefers-color-scheme: dark)', '(forced-colors: active)'].forEach(function(query) {
      matchMedia(query).addEventListener('change', function() { _dosat_web_theme_changed(); });
    });
  },
});
