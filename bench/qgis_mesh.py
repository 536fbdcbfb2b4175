"""QGIS as the benchmarks drive it: started headless with its processing
algorithms, and a .2dm mesh layer with an export's document as its datasets."""

import sys

from qgis.core import QgsApplication, QgsMeshLayer, QgsUnitTypes


def start_processing():
    """QGIS and its native processing algorithms: (the application, processing)."""
    app = QgsApplication([], False)
    app.initQgis()
    sys.path.append("/usr/share/qgis/python/plugins")
    import processing
    from processing.core.Processing import Processing
    Processing.initialize()
    from qgis.analysis import QgsNativeAlgorithms
    QgsApplication.processingRegistry().addProvider(QgsNativeAlgorithms())
    return app, processing


def mesh_layer(mesh_path, document):
    """The mesh with the document's datasets, times in seconds; absolute names:
    QGIS's XDMF reader resolves the document's references against the folder
    of the name it is given, and takes a bare name for that folder."""
    layer = QgsMeshLayer(mesh_path, "mesh", "mdal")
    provider = layer.dataProvider()
    if not layer.isValid() or not provider.addDataset(document):
        sys.exit("the mesh or its datasets did not load")
    provider.setTemporalUnit(QgsUnitTypes.TemporalSeconds)
    # The layer builds its mesh when first drawn; headless, an algorithm
    # would find none.
    layer.updateTriangularMesh()
    return layer
