// The picture of a render, as the module paints it (the render tool's
// picture, pixel for pixel: the same layout and raster), put on its canvas
// as it comes; and the play position on a second canvas above it, at the
// column the module's layout gives.

// picture: { width, height, pixels (RGBA bytes) }.
export function showPicture(canvas, picture) {
  canvas.width = picture.width;
  canvas.height = picture.height;
  canvas.getContext('2d').putImageData(new ImageData(picture.pixels, picture.width, picture.height), 0, 0);
}

// The play position over the picture (none when frame is null); layout as
// the module's pictureLayout() gives it.
export function drawPlayPosition(canvas, layout, frame, total) {
  const context = canvas.getContext('2d');
  context.clearRect(0, 0, canvas.width, canvas.height);
  if (frame === null) return;
  context.fillStyle = layout.playPositionColour;
  context.fillRect(layout.column(frame, total), layout.top, 1, layout.bottom - layout.top + 1);
}
