"""The library's state, shared by the contestant's functions and the turn
loop. Everything starts at zero, as the C library's statics do."""


class Estado:
    def __init__(self):
        self.mapa = []
        self.largo = 0
        self.ancho = 0
        # Entries of the turn; those past noJugadores keep what an earlier
        # turn left, and the lists only grow.
        self.xs = []
        self.ys = []
        self.angulos = []
        self.fuerzas = []
        self.no_jugadores = 0
        self.id = 0
        self.angulo_asignado = 0.0
        self.fuerza_asignada = 0.0
        self.espera_disparo = 0
        self.disparo_pedido = False
        self.turno = 0


E = Estado()
