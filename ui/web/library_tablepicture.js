// The table picture drawn on a canvas at the device's own pixels: rules as filled
// rectangles, then the texts, as the program lays them out for the ratio of the moment.
mergeInto(LibraryManager.library, {
  $dosatPicture: {
    context: null,
    // The table's faces, as the program lists them.
    families: '',
    setFont: function(pixels, spacing) {
      var context = dosatPicture.context;
      context.font = pixels + 'px ' + dosatPicture.families;
      if ('letterSpacing' in context) context.letterSpacing = spacing + 'px';
    },
  },

  // Device pixels per CSS pixel where the picture boxes of window w are drawn: the
  // screen's, times the scale the window is laid out at, times a phone's pinch zoom; at
  // most 5, which keeps the canvas within what phones allow one.
  dosat_picture_ratio__deps: ['$dosatPage'],
  dosat_picture_ratio: function(w) {
    var pinch = window.visualViewport ? visualViewport.scale : 1;
    return Math.min(5, (window.devicePixelRatio || 1) * (dosatPage.windows[w].scale || 1) * pinch);
  },

  // The colour of the table's paper (0) or ink (1) under forced colours, the page's own,
  // as 0xRRGGBB.
  dosat_picture_forced_colour__deps: ['$dosatPage', '$dosatTheme'],
  dosat_picture_forced_colour: function(w, c, ink) {
    var style = getComputedStyle(dosatPage.control(w, c));
    return dosatTheme.rgb(ink ? style.color : style.backgroundColor);
  },

  // A canvas of width x height device pixels, shown at cssWidth x cssHeight, filled with
  // paper; what is drawn next is drawn in ink, its texts in the faces `families` lists.
  dosat_picture_begin__deps: ['$dosatPage', '$dosatPicture'],
  dosat_picture_begin: function(w, c, cssWidth, cssHeight, width, height, paper, paperLength, ink, inkLength,
                                families, familiesLength) {
    dosatPicture.families = UTF8ToString(families, familiesLength);
    var box = dosatPage.control(w, c);
    var canvas = box.querySelector('canvas');
    if (!canvas) {
      canvas = box.insertBefore(document.createElement('canvas'), box.firstChild);
      canvas.setAttribute('aria-hidden', 'true');
    }
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = cssWidth + 'px';
    canvas.style.height = cssHeight + 'px';
    var context = dosatPicture.context = canvas.getContext('2d', {alpha: false});
    context.fillStyle = UTF8ToString(paper, paperLength);
    context.fillRect(0, 0, width, height);
    context.fillStyle = UTF8ToString(ink, inkLength);
  },

  dosat_picture_rule__deps: ['$dosatPicture'],
  dosat_picture_rule: function(x, y, width, height) { dosatPicture.context.fillRect(x, y, width, height); },

  dosat_picture_advance__deps: ['$dosatPicture'],
  dosat_picture_advance: function(text, length, pixels, spacing) {
    dosatPicture.setFont(pixels, spacing);
    return dosatPicture.context.measureText(UTF8ToString(text, length)).width;
  },

  dosat_picture_text__deps: ['$dosatPicture'],
  dosat_picture_text: function(text, length, pixels, spacing, x, baseline) {
    dosatPicture.setFont(pixels, spacing);
    dosatPicture.context.fillText(UTF8ToString(text, length), x, baseline);
  },
});
