// The page as the program's screen: the viewport's size, where a panel stands on it, the
// panel's outer size, and the device pixels behind each CSS pixel.
mergeInto(LibraryManager.library, {
  dosat_screen_width: function() { return document.documentElement.clientWidth; },
  dosat_screen_height: function() { return document.documentElement.clientHeight; },

  dosat_window_move__deps: ['$dosatPage'],
  dosat_window_move: function(w, left, top) {
    var style = dosatPage.windows[w].panel.style;
    style.left = left + 'px';
    style.top = top + 'px';
  },

  // The panel's outer size in CSS pixels, title bar and frame included; a hidden panel is
  // laid out unseen for a moment to be measured.
  dosat_window_outer_size__deps: ['$dosatPage'],
  dosat_window_outer_size: function(w, height) {
    var panel = dosatPage.windows[w].panel;
    var hidden = panel.hidden;
    if (hidden) {
      panel.style.visibility = 'hidden';
      panel.hidden = false;
    }
    var box = panel.getBoundingClientRect();
    if (hidden) {
      panel.hidden = true;
      panel.style.visibility = '';
    }
    return height ? box.height : box.width;
  },

  // Where the panel's corner stands (0: left, 1: top), and its client area's size as
  // laid out (2: width, 3: height), in CSS pixels of the page.
  dosat_window_place__deps: ['$dosatPage'],
  dosat_window_place: function(w, which) {
    var win = dosatPage.windows[w];
    if (which < 2) return parseFloat(which ? win.panel.style.top : win.panel.style.left) || 0;
    var scale = win.scale || 1;
    return scale * parseFloat(which === 2 ? win.client.style.width : win.client.style.height);
  },

  // The client area drawn `scale` times its designed size as one piece, controls, texts
  // and all, and the panel shrunk round it; the title bar and the frame keep their size.
  // A transform rather than CSS zoom: every engine then reports the controls' places, and
  // hits them, where they are drawn.
  dosat_window_set_scale__deps: ['$dosatPage'],
  dosat_window_set_scale: function(w, scale) {
    var win = dosatPage.windows[w];
    var style = win.client.style;
    win.scale = scale;
    style.transformOrigin = '0 0';
    style.transform = scale === 1 ? '' : 'scale(' + scale + ')';
    style.marginRight = scale === 1 ? '' : parseFloat(style.width) * (scale - 1) + 'px';
    style.marginBottom = scale === 1 ? '' : parseFloat(style.height) * (scale - 1) + 'px';
  },

  dosat_screen_ratio: function() { return window.devicePixelRatio || 1; },

  // The program hears when the viewport changes size, and when the device pixels per CSS
  // pixel change (the page zoomed, the window moved to another screen, a pinch zoom).
  dosat_screen_listen: function() {
    window.addEventListener('resize', function() { _dosat_web_screen_changed(); });
    var watchRatio = function() {
      matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)').addEventListener('change', function() {
        watchRatio();
        _dosat_web_ratio_changed();
      }, {once: true});
    };
    watchRatio();
    // A pinch zoom ends: the table is drawn anew at the pixels it now covers.
    if (window.visualViewport) {
      var pinch = visualViewport.scale, settle = 0;
      visualViewport.addEventListener('resize', function() {
        clearTimeout(settle);
        settle = setTimeout(function() {
          if (visualViewport.scale === pinch) return;
          pinch = visualViewport.scale;
          _dosat_web_ratio_changed();
        }, 200);
      });
    }
  },
});
