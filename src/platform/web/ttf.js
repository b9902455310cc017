// Text as the desktop's SDL_ttf draws it, in place of the emulation's: a
// surface as tall as the font's ascent and descent with the baseline at the
// ascent (the emulation makes it as tall as the point size, which moves
// every line of text a few pixels), and "solid" glyphs, each pixel either
// the colour or see-through, as TTF_RenderText_Solid gives them.
// The game draws the same few lines every frame and frees each right after
// drawing it: each line's layout and surface are kept after the first time
// (the kept surface holds a reference of its own, so the game's free leaves
// it), and a frame only copies them. The page hears of every line drawn
// (Module.onText), which tells it what screen is up.
mergeInto(LibraryManager.library, {
  // The score changes often: bounded stores, emptied when full.
  // (Made at start-up: the library's objects are written out as literals.)
  $brinegrabTextCache: {LIMIT: 256},
  $brinegrabTextCache__postset: 'brinegrabTextCache.layouts = new Map();' +
                                'brinegrabTextCache.surfaces = new Map();',

  $brinegrabTextLayout__deps: ['$SDL', '$brinegrabTextCache'],
  $brinegrabTextLayout: function(font, text) {
    var fontData = SDL.fonts[font];
    var key = fontData.size + ' ' + fontData.name + ' ' + text;
    var layouts = brinegrabTextCache.layouts;
    var known = layouts.get(key);
    if (known) return known;
    var context = SDL_ttfContext();
    context.font = SDL.makeFontString(fontData.size, fontData.name);
    var metrics = context.measureText(text);
    var ascent = Math.ceil(metrics.fontBoundingBoxAscent);
    if (layouts.size >= brinegrabTextCache.LIMIT) layouts.clear();
    known = {
      key: key,
      font: context.font,
      ascent: ascent,
      width: Math.max(1, Math.ceil(metrics.width)),
      height: ascent + Math.ceil(metrics.fontBoundingBoxDescent) + 1,
    };
    layouts.set(key, known);
    return known;
  },

  // A kept surface's reference count is one more than the game's references.
  $brinegrabHoldSurface: function(surf) {
    var refcount = surf + {{{ C_STRUCTS.SDL_Surface.refcount }}};
    HEAP32[refcount >> 2] = HEAP32[refcount >> 2] + 1;
    return surf;
  },

  $brinegrabKeepSurface__deps: ['$SDL', '$brinegrabTextCache', '$brinegrabHoldSurface'],
  $brinegrabKeepSurface: function(key, surf) {
    var surfaces = brinegrabTextCache.surfaces;
    if (surfaces.size >= brinegrabTextCache.LIMIT) {
      surfaces.forEach(function(kept) { SDL.freeSurface(kept); });
      surfaces.clear();
    }
    surfaces.set(key, brinegrabHoldSurface(surf));
  },

  TTF_RenderText_Solid__deps: ['$SDL', '$brinegrabTextLayout', '$brinegrabTextCache',
                               '$brinegrabHoldSurface', '$brinegrabKeepSurface'],
  TTF_RenderText_Solid: function(font, text, color) {
    text = UTF8ToString(text) || ' ';
    if (Module['onText']) Module['onText'](text);
    var layout = brinegrabTextLayout(font, text);
    var r = HEAPU8[color];
    var g = HEAPU8[color + 1];
    var b = HEAPU8[color + 2];
    var surfaceKey = layout.key + ' ' + r + ',' + g + ',' + b;
    var kept = brinegrabTextCache.surfaces.get(surfaceKey);
    if (kept) return brinegrabHoldSurface(kept);
    var surf = SDL.makeSurface(layout.width, layout.height, 0, false, 'text:' + text);
    var context = SDL.surfaces[surf].ctx;
    context.save();
    context.font = layout.font;
    context.fillStyle = 'rgb(' + r + ',' + g + ',' + b + ')';
    context.textBaseline = 'alphabetic';
    context.fillText(text, 0, layout.ascent);
    context.restore();
    var image = context.getImageData(0, 0, layout.width, layout.height);
    var data = image.data;
    for (var i = 0; i < data.length; i += 4) {
      var solid = data[i + 3] >= 128;
      data[i] = r;
      data[i + 1] = g;
      data[i + 2] = b;
      data[i + 3] = solid ? 255 : 0;
    }
    context.putImageData(image, 0, 0);
    brinegrabKeepSurface(surfaceKey, surf);
    return surf;
  },

  // The text is read as UTF-8 either way: a translation's letters.
  TTF_RenderUTF8_Solid: 'TTF_RenderText_Solid',
  TTF_SizeUTF8: 'TTF_SizeText',

  TTF_SizeText__deps: ['$brinegrabTextLayout'],
  TTF_SizeText: function(font, text, w, h) {
    var layout = brinegrabTextLayout(font, UTF8ToString(text));
    if (w) HEAP32[w >> 2] = layout.width;
    if (h) HEAP32[h >> 2] = layout.height;
    return 0;
  },
});
