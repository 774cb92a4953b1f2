// The widgets library grows with the viewer.
