// The style and script, as the page carries them.
#include "vzsurvey/report/page_assets.h"

namespace vz {

const char kPageStyle[] = R"(
body { font: 14px/1.4 sans-serif; margin: 16px; color: #222; background: #fff; }
h1 { font-size: 20px; margin: 0 0 4px; }
h2 { font-size: 16px; margin: 24px 0 8px; }
table { border-collapse: collapse; font-variant-numeric: tabular-nums; }
th, td { border: 1px solid #ccc; padding: 2px 6px; text-align: right; vertical-align: top; }
th { background: #f3f3f3; }
.text { text-align: left; }
summary { cursor: pointer; }
.controls label { margin-right: 16px; }
.legend { display: flex; align-items: center; gap: 6px; margin: 8px 0; }
.legend .bar { display: inline-block; width: 240px; height: 12px; }
.legend .swatch { display: inline-block; width: 12px; height: 12px; margin-left: 16px; }
#map { position: relative; isolation: isolate; background: #fff; }
#map > * { position: absolute; left: 0; top: 0; }
#heat { width: 100%; height: 100%; image-rendering: pixelated; }
.underlay { mix-blend-mode: multiply; }
.underlay line { stroke: #d8d8d8; }
.underlay text, .waterfall text, .lines text { font-size: 11px; fill: #666; }
.axis-middle { text-anchor: middle; }
.axis-end { text-anchor: end; }
.marks { overflow: visible; }
.marks circle { fill: none; stroke: #111; stroke-width: 2; }
.marks text { font-size: 12px; paint-order: stroke; stroke: #fff; stroke-width: 3px; }
.point.other { opacity: 0.35; }
.m-signal, .m-quality, .m-latency { display: none; }
.metric-signal .m-signal, .metric-quality .m-quality, .metric-latency .m-latency { display: inline; }
.note { color: #555; font-size: 12px; max-width: 960px; }
.lines polyline { fill: none; stroke-width: 1.5; }
.lines .frame { fill: none; stroke: #999; }
#page-error { color: #b00000; font-weight: bold; }
)";

const char kPageScript[] = R"(
(function () {
  'use strict';
  function fail(message) {
    document.body.setAttribute('data-error', message);
    document.getElementById('page-error').textContent = 'The map could not be drawn: ' + message;
  }
  window.addEventListener('error', function (event) { fail(String(event.message)); });
  var data = JSON.parse(document.getElementById('heat-data').textContent);
  var map = document.getElementById('map');
  var canvas = document.getElementById('heat');
  var masterChoice = document.getElementById('master');
  var metricChoice = document.getElementById('metric');
  var plan = document.getElementById('plan');

  function setText(id, text) { document.getElementById(id).textContent = text; }

  // One byte a cell: 0 nothing, 1 the grey, 2 and up the scale's colours from the bottom.
  function paint(cells) {
    var context = canvas.getContext('2d');
    var image = context.createImageData(canvas.width, canvas.height);
    for (var i = 0; i < cells.length; ++i) {
      var code = cells.charCodeAt(i);
      if (code !== 0) {
        var rgb = code === 1 ? data.grey : data.palette[code - 2];
        image.data.set([rgb[0], rgb[1], rgb[2], 255], i * 4);
      }
    }
    context.putImageData(image, 0, 0);
  }

  function show() {
    var master = masterChoice.value;
    var metric = metricChoice.value;
    var scale = data.metrics[metric];
    var cells = (data.heat[master] || {})[metric];
    paint(cells ? atob(cells) : '');
    map.className = 'metric-' + metric;
    document.querySelectorAll('.point').forEach(function (point) {
      point.classList.toggle('other', point.getAttribute('data-master') !== master);
    });
    setText('scale-low', scale ? scale.lowest + ' ' + scale.unit : '');
    setText('scale-high', scale ? scale.highest + ' ' + scale.unit : '');
    setText('threshold-note', scale && scale.threshold !== null
        ? 'worse than the threshold: ' + scale.worse + ' ' + scale.threshold + ' ' + scale.unit
        : 'no threshold');
    setText('coverage-note', cells ? '' : '(no readings of this figure for this Master)');
  }

  masterChoice.addEventListener('change', show);
  metricChoice.addEventListener('change', show);
  window.addEventListener('load', function () {
    if (plan && !(plan.complete && plan.naturalWidth > 0)) {
      fail('the plan did not load');
    }
  });
  show();
  document.body.setAttribute('data-drawn', 'yes');
})();
)";

}  // namespace vz
